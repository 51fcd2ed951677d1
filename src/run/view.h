#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dcf::run {

enum class Icon { None, Information, Question, Critical };
enum class Answer { Yes, No, Cancel };
enum class Buttons { YesNo, YesNoCancel };

// Which question is put: the batch front end answers each kind from its
// options and names it in its output.
enum class QuestionKind {
    ConfirmRun,      // "Do you want to continue Converting this QORVEX Data File?"
    DuplicateFiler,  // a filer of the same type is already in the database
    SimilarName,     // a name like one already in the database
    SaveNotImported, // records were not imported; save?
    SaveMinor,       // minor errors; save?
    SaveClean,       // "Save All Converted Records?"
    CancelRun,       // the Cancel button's question
};

// A question with Yes and No, and Cancel where it offers one. An empty title
// means the program's own name.
struct Question {
    QuestionKind kind;
    std::string title;
    std::string text;
    Icon icon = Icon::None;
    Answer defaultAnswer = Answer::No;
    Buttons buttons = Buttons::YesNo;
};

// A message with one button, OK, which is also its default.
struct Message {
    std::string title;
    std::string text;
    Icon icon = Icon::None;
};

// What the engine shows while it works. The window maps these calls onto
// its named controls (each widget's objectName is its control name), the
// batch front end onto its output, and tests onto a recorder; the engine
// never touches a widget. Controls are named by the constants of
// dcf/control_names.h: control::frmMain (its caption), control::statbarMain
// (the status bar's first panel), control::lblToolBar, ...
class View {
public:
    virtual ~View() = default;

    // The text of a label, the caption of a button or window, panel 1 of the
    // status bar.
    virtual void setText(std::string_view control, std::string_view text) = 0;
    // A count label by its control name ("lblErrorsImportedCount").
    virtual void setCount(std::string_view label, std::int64_t value) = 0;
    virtual void setVisible(std::string_view control, bool visible) = 0;
    virtual void setEnabled(std::string_view control, bool enabled) = 0;
    // The progress bar pgbImport.
    virtual void setProgress(std::int64_t value, std::int64_t maximum) = 0;
    // The hourglass pointer while the engine works.
    virtual void setBusy(bool busy) = 0;

    // A modal question; returns the answer.
    virtual Answer ask(const Question& question) = 0;
    // A modal message with an OK button.
    virtual void tell(const Message& message) = 0;

    // Lets the window repaint and the user press Cancel.
    virtual void yield() = 0;
};

// A view that shows nothing and answers every question with its default.
class SilentView final : public View {
public:
    void setText(std::string_view, std::string_view) override {}
    void setCount(std::string_view, std::int64_t) override {}
    void setVisible(std::string_view, bool) override {}
    void setEnabled(std::string_view, bool) override {}
    void setProgress(std::int64_t, std::int64_t) override {}
    void setBusy(bool) override {}
    Answer ask(const Question& question) override { return question.defaultAnswer; }
    void tell(const Message&) override {}
    void yield() override {}
};

} // namespace dcf::run
