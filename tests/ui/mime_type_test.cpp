// The DCF file type as a desktop sees it: share/dcfconvert-mime.xml alone in
// a data folder of the test's, read by Qt's reader of the same database the
// file managers read.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QMimeDatabase>
#include <QTemporaryDir>
#include <cstdlib>
#include <vector>

#include <gtest/gtest.h>

namespace {

const QString kDcfType = QStringLiteral("application/x-campaign-finance-dcf");

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

struct Case {
    const char* name;
    const char* fileName;
    QByteArray content;
    bool isDcf;
};

TEST(MimeType, DcfFilesAreKnownByTheirNameOrTheirHeaderLine) {
    const QTemporaryDir data;
    ASSERT_TRUE(data.isValid());
    ASSERT_TRUE(QDir(data.path()).mkpath(QStringLiteral("mime/packages")));
    ASSERT_TRUE(QFile::copy(QStringLiteral(DCF_SHARE_DIR "/dcfconvert-mime.xml"),
                            data.path() + QStringLiteral("/mime/packages/dcfconvert.xml")));
    // Only this data folder: the database is read on first use.
    ::setenv("XDG_DATA_DIRS", qPrintable(data.path()), 1);
    ::setenv("XDG_DATA_HOME", qPrintable(data.path()), 1);

    const QByteArray header = "HDR,1,0,DCF,1.0,20261208,\r\nFLR,1,0,F,F,COH,F1,Doe,Jane,\r\n";
    const std::vector<Case> cases = {
        {"the run's extension", "report.DCF_ZV", header, true},
        {"the extension in any case", "report.dcf_Zv", "FLR,1,0,F,F,COH,F1,Doe,Jane,\r\n", true},
        {"the chooser's type", "report.DCF", "", true},
        {"a header line, no extension", "download", header, true},
        {"a header line after a byte-order mark", "download", "\xEF\xBB\xBF" + header, true},
        {"a header line with empty numbers", "download", "HDR,,,DCF,1.0,\r\n", true},
        {"a header line of another kind", "download", "HDR,1,0,CSV,1.0,\r\n", false},
        {"no header line, no extension", "download", "FLR,1,0,F,F,COH,F1,Doe,Jane,\r\n", false},
        {"DCF further on", "download", "HDR,1,0,a long title of some other kind of file,DCF,\r\n",
         false},
    };
    const QMimeDatabase database;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QTemporaryDir folder;
        const QString path = folder.filePath(QString::fromLatin1(c.fileName));
        ASSERT_TRUE(writeFile(path, c.content));
        const QString type = database.mimeTypeForFile(path).name();
        EXPECT_EQ(type == kDcfType, c.isDcf) << qPrintable(type);
    }
    EXPECT_TRUE(database.mimeTypeForName(kDcfType).inherits(QStringLiteral("text/plain")));
}

} // namespace
