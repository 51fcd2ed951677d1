#include "app/selected_file.h"

#include "dcf/dcf_line_reader.h"

#include <array>

namespace dcf::app {

FilerLine readFilerLine(std::string_view line) {
    // Positions of the first nine commas; a shorter line leaves the rest at
    // its end, so the fields past it read empty.
    std::array<std::size_t, 10> comma{};
    comma[0] = std::string_view::npos;
    std::size_t from = 0;
    for (std::size_t k = 1; k < comma.size(); ++k) {
        const std::size_t found =
            from <= line.size() ? line.find(',', from) : std::string_view::npos;
        comma[k] = found == std::string_view::npos ? line.size() : found;
        from = comma[k] + 1;
    }
    const auto field = [&](std::size_t k) -> std::string {
        const std::size_t start = comma[k - 1] + 1;
        return start <= comma[k] && start <= line.size()
                   ? std::string(line.substr(start, comma[k] - start))
                   : std::string();
    };
    FilerLine filer;
    filer.type = field(6);
    filer.id = field(7);
    const std::string name8 = field(8);
    const std::string name9 = field(9);
    filer.name = name9.empty() ? name8 : name9 + " " + name8;
    return filer;
}

std::optional<FilerLine> readFileFiler(const std::filesystem::path& path) {
    std::optional<FilerLine> filer;
    dcf::DcfLineReader reader(path);
    dcf::DcfLine line;
    while (reader.next(line)) {
        if (line.text.starts_with("FLR")) {
            filer = readFilerLine(line.text);
        }
    }
    return filer;
}

run::SelectedFile selectedFile(const std::filesystem::path& path,
                               const std::optional<FilerLine>& filer) {
    const FilerLine shown = filer.value_or(FilerLine{});
    return {path, path.filename().string(), shown.type, shown.id, shown.name};
}

run::SelectedFile selectedFile(const std::filesystem::path& path) {
    std::optional<FilerLine> filer;
    try {
        filer = readFileFiler(path);
    } catch (const std::runtime_error&) {
        // An unreadable file is refused by the run itself, with its reason.
    }
    return selectedFile(path, filer);
}

} // namespace dcf::app
