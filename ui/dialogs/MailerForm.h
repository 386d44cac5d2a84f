#pragma once
// `TMailerForm`, "Orvanes Tippwerk Email-Client": one message with sender, recipient, copies, plain and
// HTML body, attachments and read receipt, sent through the session's mail controller. It is made
// once and only shown and hidden, so its fields keep their content between uses.
#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace zf {
class MailController;
}

namespace zf::ui {

class MailerForm : public QDialog {
public:
    MailerForm(MailController& mail, QWidget* parent = nullptr);

    // Shows the controller's fields modally; closing writes them back and stores the settings.
    void run();
    // "Send Mail" (`btnSendMailClick`): after a send that reached the server the dialog closes.
    void sendMail();

protected:
    void done(int result) override;

private:
    void showDraft();
    void takeDraft();
    void showStatus();

    MailController& mail_;
    QLineEdit *host_, *user_, *password_, *from_, *fromName_, *to_, *toName_, *cc_, *bcc_, *subject_;
    QCheckBox *receipt_, *verify_;
    QLabel* plainWarning_; // the check switched off: the password may travel unencrypted
    QPlainTextEdit *body_, *html_, *attachments_, *status_;
    QPushButton* send_;
};

} // namespace zf::ui
