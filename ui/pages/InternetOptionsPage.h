#pragma once
// The tab "Internet-Optionen": proxy, download server and handling fee, the submission log switch,
// and the links to the program's and the lottery's web pages.
#include "ui/pages/CanvasPage.h"

#include <string>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;

namespace zf {
class Model;
class Session;
} // namespace zf

namespace zf::ui {

class InternetOptionsPage : public CanvasPage {
public:
    explicit InternetOptionsPage(Session& session, QWidget* parent = nullptr);

    // Shows the options when ChangeOptions is among `what`.
    void refresh(unsigned what);

private:
    void buildLinks(QWidget* canvas);

    Session& session_;
    QLineEdit* proxyHost_ = nullptr;      // ProxyHostEdit
    QLineEdit* proxyPort_ = nullptr;      // ProxyPortEdit
    QLineEdit* downloadServer_ = nullptr; // DownloadServerEdit
    QLineEdit* fee_ = nullptr;            // Edit3
    QCheckBox* writeProtocol_ = nullptr;  // CheckBox16
    // Label52, Label54, Label56, Label63, Label66 and the model field of the address each shows
    std::vector<std::pair<QLabel*, std::string Model::*>> links_;
};

} // namespace zf::ui
