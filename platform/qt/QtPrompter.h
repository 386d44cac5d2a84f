#pragma once
#include <QPointer>
#include <QWidget>

#include "core/ports/Seams.h"

namespace zf {

// Message boxes and input boxes of the desktop program, with German buttons whatever the locale.
class QtPrompter : public Prompter {
public:
    explicit QtPrompter(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    void message(const std::string& text) override;
    bool question(const std::string& text) override;
    bool questionDefaultNo(const std::string& text) override;
    std::optional<std::string> input(const std::string& caption, const std::string& prompt,
                                     const std::string& proposal) override;

protected:
    // The window a dialog belongs to, and the dialog placed in its middle when it shows.
    QWidget* dialogParent() const;
    void centre(QWidget& dialog) const;

private:
    bool ask(const std::string& text, bool yesByDefault);
    QPointer<QWidget> parent_;
};

} // namespace zf
