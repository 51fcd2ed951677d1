#include "qt_view.h"

#include "dcf/control_names.h"
#include "message_box.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMessageBox>
#include <QProgressBar>
#include <QThread>
#include <climits>
#include <memory>

namespace dcf::ui {
namespace {

// At most about 20 batches a second reach the window.
constexpr int kBatchMilliseconds = 50;

// The engine's texts break lines with CR LF; a message box wants LF.
QString boxText(const std::string& text) {
    QString shown = QString::fromStdString(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return shown;
}

QString boxTitle(const std::string& title) {
    return title.empty() ? QStringLiteral("dcfconvert") : QString::fromStdString(title);
}

QMessageBox::StandardButton standardButton(run::Answer answer) {
    switch (answer) {
    case run::Answer::Yes:
        return QMessageBox::Yes;
    case run::Answer::Cancel:
        return QMessageBox::Cancel;
    case run::Answer::No:
        break;
    }
    return QMessageBox::No;
}

QMessageBox::Icon boxIcon(run::Icon icon) {
    switch (icon) {
    case run::Icon::Information:
        return QMessageBox::Information;
    case run::Icon::Question:
        return QMessageBox::Question;
    case run::Icon::Critical:
        return QMessageBox::Critical;
    case run::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

QtView::QtView(QMainWindow& window) : window_(window) {
    batchTimer_.setSingleShot(true);
    batchTimer_.setInterval(kBatchMilliseconds);
    connect(&batchTimer_, &QTimer::timeout, this, &QtView::flush);
}

QtView::~QtView() {
    applyBusy(false);
}

bool QtView::onWindowThread() const {
    return QThread::currentThread() == thread();
}

void QtView::setText(std::string_view control, std::string_view text) {
    change([&](Pending& pending) {
        pending.texts.insert_or_assign(std::string(control), std::string(text));
    });
}

void QtView::setCount(std::string_view label, std::int64_t value) {
    change([&](Pending& pending) {
        pending.texts.insert_or_assign(std::string(label), std::to_string(value));
    });
}

void QtView::setVisible(std::string_view control, bool visible) {
    change(
        [&](Pending& pending) { pending.visible.insert_or_assign(std::string(control), visible); });
}

void QtView::setEnabled(std::string_view control, bool enabled) {
    change(
        [&](Pending& pending) { pending.enabled.insert_or_assign(std::string(control), enabled); });
}

void QtView::setProgress(std::int64_t value, std::int64_t maximum) {
    change([&](Pending& pending) { pending.progress = std::pair{value, maximum}; });
}

void QtView::setBusy(bool busy) {
    change([&](Pending& pending) { pending.busy = busy; });
}

void QtView::change(const std::function<void(Pending&)>& edit) {
    const bool direct = onWindowThread();
    {
        const std::lock_guard lock(mutex_);
        edit(pending_);
        if (!direct) {
            if (batchScheduled_) {
                return;
            }
            batchScheduled_ = true;
        }
    }
    if (direct) {
        // After the batch still waiting, so the window shows the latest.
        flush();
        return;
    }
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (!batchTimer_.isActive()) {
                batchTimer_.start();
            }
        },
        Qt::QueuedConnection);
}

void QtView::flush() {
    Pending batch;
    {
        const std::lock_guard lock(mutex_);
        batch = std::exchange(pending_, Pending{});
        batchScheduled_ = false;
    }
    apply(batch);
}

void QtView::apply(const Pending& pending) {
    for (const auto& [control, text] : pending.texts) {
        applyText(QString::fromStdString(control), QString::fromStdString(text));
    }
    for (const auto& [control, visible] : pending.visible) {
        applyVisible(QString::fromStdString(control), visible);
    }
    for (const auto& [control, enabled] : pending.enabled) {
        applyEnabled(QString::fromStdString(control), enabled);
    }
    if (pending.progress) {
        applyProgress(pending.progress->first, pending.progress->second);
    }
    if (pending.busy) {
        applyBusy(*pending.busy);
    }
}

QAction* QtView::menuAction(const QString& control) const {
    if (auto* menu = window_.findChild<QMenu*>(control)) {
        return menu->menuAction();
    }
    return window_.findChild<QAction*>(control);
}

void QtView::applyText(const QString& name, const QString& text) {
    if (name == window_.objectName()) {
        window_.setWindowTitle(text);
    } else if (name == QString::fromLatin1(control::statbarMain)) {
        if (auto* panel = window_.findChild<QLabel*>(QStringLiteral("statbarMainPanel1"))) {
            panel->setText(text);
        }
    } else if (auto* label = window_.findChild<QLabel*>(name)) {
        label->setText(text);
    } else if (auto* button = window_.findChild<QAbstractButton*>(name)) {
        button->setText(text);
    } else if (QAction* action = menuAction(name)) {
        action->setText(text);
    } else {
        qWarning("No control named %s", qPrintable(name));
    }
}

void QtView::applyVisible(const QString& name, bool visible) {
    if (QAction* action = menuAction(name)) {
        action->setVisible(visible);
    } else if (auto* widget = window_.findChild<QWidget*>(name)) {
        widget->setVisible(visible);
    } else {
        qWarning("No control named %s", qPrintable(name));
    }
}

void QtView::applyEnabled(const QString& name, bool enabled) {
    if (name == window_.objectName()) {
        window_.setEnabled(enabled);
    } else if (QAction* action = menuAction(name)) {
        action->setEnabled(enabled);
    } else if (auto* widget = window_.findChild<QWidget*>(name)) {
        widget->setEnabled(enabled);
    } else {
        qWarning("No control named %s", qPrintable(name));
    }
}

void QtView::applyProgress(std::int64_t value, std::int64_t maximum) {
    auto* bar = window_.findChild<QProgressBar*>(QString::fromLatin1(control::pgbImport));
    if (bar == nullptr) {
        return;
    }
    // The bar counts in int; a larger file is shown to scale.
    const std::int64_t scale = maximum > INT_MAX ? maximum / INT_MAX + 1 : 1;
    bar->setRange(0, static_cast<int>(maximum / scale));
    bar->setValue(static_cast<int>(value / scale));
    if (progressListener_) {
        progressListener_(value, maximum);
    }
}

void QtView::setProgressListener(std::function<void(std::int64_t, std::int64_t)> listen) {
    progressListener_ = std::move(listen);
}

void QtView::applyBusy(bool busy) {
    engineBusy_ = busy;
    showPointer();
}

void QtView::showPointer() {
    // The user answers a box with the ordinary pointer, even in a busy run.
    const bool hourglass = engineBusy_ && openBoxes_ == 0;
    if (hourglass && !hourglassShown_) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (!hourglass && hourglassShown_) {
        QApplication::restoreOverrideCursor();
    }
    hourglassShown_ = hourglass;
}

run::Answer QtView::ask(const run::Question& question) {
    return answerFromWindow([this, question] {
        QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
        if (question.buttons == run::Buttons::YesNoCancel) {
            buttons |= QMessageBox::Cancel;
        }
        QMessageBox box(boxIcon(question.icon), boxTitle(question.title), boxText(question.text),
                        buttons, &window_);
        box.setDefaultButton(standardButton(question.defaultAnswer));
        return showBox(box);
    });
}

void QtView::tell(const run::Message& message) {
    answerFromWindow([this, message] {
        QMessageBox box(boxIcon(message.icon), boxTitle(message.title), boxText(message.text),
                        QMessageBox::Ok, &window_);
        box.setDefaultButton(QMessageBox::Ok);
        showBox(box);
        return run::Answer::Yes;
    });
}

run::Answer QtView::showBox(QMessageBox& box) {
    // The box shows what the engine set before it asked.
    flush();
    ++openBoxes_;
    showPointer();
    const QMessageBox::StandardButton button = showMessageBox(box);
    --openBoxes_;
    showPointer();
    if (button == QMessageBox::Yes) {
        return run::Answer::Yes;
    }
    return button == QMessageBox::Cancel ? run::Answer::Cancel : run::Answer::No;
}

run::Answer QtView::answerFromWindow(std::function<run::Answer()> show) {
    if (onWindowThread()) {
        return show();
    }
    struct Reply {
        bool given = false;
        run::Answer answer = run::Answer::No;
    };
    auto reply = std::make_shared<Reply>();
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !cancelQuestionOpen_ || shuttingDown_; });
    if (shuttingDown_) {
        return run::Answer::No;
    }
    engineQuestionOpen_ = true;
    lock.unlock();
    QMetaObject::invokeMethod(
        this,
        [this, reply, show = std::move(show)] {
            const run::Answer answer = show();
            const std::lock_guard answered(mutex_);
            reply->answer = answer;
            reply->given = true;
            engineQuestionOpen_ = false;
            changed_.notify_all();
        },
        Qt::QueuedConnection);
    lock.lock();
    changed_.wait(lock, [&] { return reply->given || shuttingDown_; });
    return reply->given ? reply->answer : run::Answer::No;
}

void QtView::yield() {
    if (onWindowThread()) {
        return;
    }
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !cancelQuestionOpen_ || shuttingDown_; });
}

bool QtView::beginCancelQuestion() {
    const std::lock_guard lock(mutex_);
    if (engineQuestionOpen_) {
        return false;
    }
    cancelQuestionOpen_ = true;
    return true;
}

void QtView::endCancelQuestion() {
    const std::lock_guard lock(mutex_);
    cancelQuestionOpen_ = false;
    changed_.notify_all();
}

void QtView::runEnded() {
    flush();
    applyBusy(false);
}

void QtView::shutDown() {
    const std::lock_guard lock(mutex_);
    shuttingDown_ = true;
    changed_.notify_all();
}

} // namespace dcf::ui
