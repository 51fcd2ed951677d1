#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dcf::app {

// What the engine shows while it works. The window maps these calls onto
// its named controls, the batch front end onto its output, and tests onto a
// recorder; the engine never touches a widget.
class View {
public:
    virtual ~View() = default;

    // A count label by its control name ("lblErrorsImportedCount").
    virtual void setCount(std::string_view label, std::int64_t value) = 0;
    // Shows or hides a control by its name.
    virtual void setVisible(std::string_view control, bool visible) = 0;
    // Lets the window repaint and the user press Cancel.
    virtual void yield() = 0;
};

// A view that shows nothing: for work done without a window.
class SilentView final : public View {
public:
    void setCount(std::string_view, std::int64_t) override {}
    void setVisible(std::string_view, bool) override {}
    void yield() override {}
};

} // namespace dcf::app
