#include "ui/dialogs/MailerForm.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QValidator>

#include "app/mail/MailController.h"

namespace zf::ui {

namespace {

QLineEdit* field(QWidget* parent, const char* name) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    return e;
}

QPlainTextEdit* memo(QWidget* parent, const char* name) {
    auto* m = new QPlainTextEdit(parent);
    m->setObjectName(name);
    m->setLineWrapMode(QPlainTextEdit::NoWrap);
    m->setTabChangesFocus(false);
    return m;
}

// An address field takes no control character or line separator: typed or pasted, such input is
// refused (the field keeps its text) and `inputRejected` tells the user.
class NoControlCharacters : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& text, int&) const override {
        for (const QChar c : text)
            if (c.category() == QChar::Other_Control || c.category() == QChar::Separator_Line ||
                c.category() == QChar::Separator_Paragraph)
                return Invalid;
        return Acceptable;
    }
};

QString q(const std::string& s) { return QString::fromStdString(s); }
std::string s(const QString& q) { return q.toStdString(); }

} // namespace

MailerForm::MailerForm(MailController& mail, QWidget* parent) : QDialog(parent), mail_(mail) {
    setObjectName("MailerForm");
    setWindowTitle("Orvanes Tippwerk Email-Client");
    host_ = field(this, "ledHost");
    user_ = field(this, "LedUser");
    password_ = field(this, "LEdPass");
    password_->setEchoMode(QLineEdit::Password);
    from_ = field(this, "ledFrom");
    fromName_ = field(this, "FromName");
    to_ = field(this, "ledTo");
    toName_ = field(this, "ToName");
    cc_ = field(this, "ledCC");
    bcc_ = field(this, "BCCEmail");
    subject_ = field(this, "ledSubject");
    receipt_ = new QCheckBox("Empfangsbestätigung", this);
    receipt_->setObjectName("Bestaetigung");
    verify_ = new QCheckBox("Zertifikat prüfen", this);
    verify_->setObjectName("CheckCertificate");
    verify_->setToolTip("Nur verschlüsselt senden, und nur wenn das Zertifikat des SMTP-Servers gültig ist");
    plainWarning_ = new QLabel("Ohne „Zertifikat prüfen“ kann das Passwort unverschlüsselt übertragen werden.", this);
    plainWarning_->setObjectName("PlainTextWarning");
    for (QLineEdit* address : {from_, to_, cc_, bcc_}) {
        address->setValidator(new NoControlCharacters(address));
        connect(address, &QLineEdit::inputRejected, this, [this] {
            QMessageBox::warning(this, windowTitle(),
                                 "Eine Email-Adresse darf keine Steuerzeichen (etwa Zeilenumbrüche oder Tabulatoren) "
                                 "enthalten; die Eingabe wurde nicht übernommen.");
        });
    }

    auto* server = new QGroupBox("Server", this);
    auto* serverForm = new QFormLayout(server);
    serverForm->addRow("Host (SMTP server)", host_);
    serverForm->addRow("Username", user_);
    serverForm->addRow("Password", password_);
    serverForm->addRow(QString(), verify_);
    connect(verify_, &QCheckBox::toggled, plainWarning_, [this](bool on) { plainWarning_->setVisible(!on); });

    auto* addresses = new QGroupBox("Adressen", this);
    auto* addressForm = new QFormLayout(addresses);
    addressForm->addRow("From-Email", from_);
    addressForm->addRow("From-Name", fromName_);
    addressForm->addRow("To-Email", to_);
    addressForm->addRow("To-Name", toName_);

    auto* top = new QHBoxLayout;
    top->addWidget(server, 1);
    top->addWidget(addresses, 1);

    auto* headers = new QFormLayout;
    headers->addRow("CC  ...  Kopie Empfänger", cc_);
    headers->addRow("BCC  ...  Blind Kopie", bcc_);
    headers->addRow("Betreff", subject_);
    headers->addRow(QString(), receipt_);

    body_ = memo(this, "Body");
    html_ = memo(this, "HTMLBody");
    auto* toHtml = new QPushButton("Text in HTML übernehmen", this);
    toHtml->setObjectName("MailFormHTMLButton");
    auto* bodies = new QGridLayout;
    bodies->addWidget(new QLabel("Text", this), 0, 0);
    bodies->addWidget(new QLabel("HTML", this), 0, 1);
    bodies->addWidget(body_, 1, 0);
    bodies->addWidget(html_, 1, 1);
    bodies->addWidget(toHtml, 2, 0, Qt::AlignLeft);

    attachments_ = memo(this, "ledAttachment");
    attachments_->setFixedHeight(64);
    auto* pick = new QPushButton("...", this);
    pick->setObjectName("btnAttachment");
    pick->setFixedWidth(40);
    auto* attachRow = new QHBoxLayout;
    attachRow->addWidget(attachments_, 1);
    attachRow->addWidget(pick, 0, Qt::AlignTop);

    status_ = new QPlainTextEdit(this);
    status_->setObjectName("StatusMemo");
    status_->setReadOnly(true);
    status_->setFixedHeight(90);
    status_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    send_ = new QPushButton("Send Mail", this);
    send_->setObjectName("btnSendMail");
    send_->setMinimumWidth(120);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(status_, 1);
    bottom->addWidget(send_, 0, Qt::AlignBottom);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(plainWarning_);
    layout->addLayout(headers);
    layout->addLayout(bodies, 1);
    layout->addWidget(new QLabel("wählen sie Dateien welche als Anhang zu der Email gesendet weren sollen", this));
    layout->addLayout(attachRow);
    layout->addLayout(bottom);
    resize(820, 760);

    connect(toHtml, &QPushButton::clicked, this, [this] {
        mail_.draft.body = s(body_->toPlainText());
        mail_.convertToHtml();
        html_->setPlainText(q(mail_.draft.htmlBody));
    });
    connect(pick, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getOpenFileName(this, "Anhang wählen");
        if (path.isEmpty()) return;
        QString text = attachments_->toPlainText();
        if (!text.isEmpty() && !text.endsWith('\n')) text += '\n';
        attachments_->setPlainText(text + path);
    });
    connect(send_, &QPushButton::clicked, this, &MailerForm::sendMail);
}

void MailerForm::showDraft() {
    const MailDraft& d = mail_.draft;
    host_->setText(q(d.host));
    user_->setText(q(d.user));
    password_->setText(q(d.password));
    from_->setText(q(d.fromAddress));
    fromName_->setText(q(d.fromName));
    to_->setText(q(d.toAddress));
    toName_->setText(q(d.toName));
    cc_->setText(q(d.cc));
    bcc_->setText(q(d.bcc));
    subject_->setText(q(d.subject));
    receipt_->setChecked(d.readReceipt);
    verify_->setChecked(d.verifyCertificate);
    plainWarning_->setVisible(!d.verifyCertificate);
    body_->setPlainText(q(d.body).replace("\r\n", "\n"));
    html_->setPlainText(q(d.htmlBody).replace("\r\n", "\n"));
    attachments_->setPlainText(q(d.attachments));
    showStatus();
}

void MailerForm::takeDraft() {
    MailDraft& d = mail_.draft;
    d.host = s(host_->text());
    d.user = s(user_->text());
    d.password = s(password_->text());
    d.fromAddress = s(from_->text());
    d.fromName = s(fromName_->text());
    d.toAddress = s(to_->text());
    d.toName = s(toName_->text());
    d.cc = s(cc_->text());
    d.bcc = s(bcc_->text());
    d.subject = s(subject_->text());
    d.readReceipt = receipt_->isChecked();
    d.verifyCertificate = verify_->isChecked();
    d.body = s(body_->toPlainText());
    d.htmlBody = s(html_->toPlainText());
    d.attachments = s(attachments_->toPlainText());
}

void MailerForm::showStatus() {
    QStringList lines;
    for (const auto& l : mail_.statusLines) lines << q(l);
    status_->setPlainText(lines.join('\n'));
}

void MailerForm::run() {
    mail_.ensureLoaded();
    showDraft();
    mail_.onChange = [this] { showStatus(); };
    exec();
    mail_.onChange = nullptr;
}

void MailerForm::sendMail() {
    if (mail_.sending()) return;
    takeDraft();
    send_->setEnabled(false);
    const SmtpResult r = mail_.send(false);
    send_->setEnabled(true);
    showStatus();
    // The server closed the conversation: the dialog closes with it; otherwise it stays for a correction.
    if (r.connected) accept();
}

void MailerForm::done(int result) {
    if (mail_.sending()) return; // the worker still talks to the server
    takeDraft();
    std::string error;
    if (!mail_.saveSettings(&error))
        QMessageBox::warning(this, windowTitle(),
                             q("Die Email-Einstellungen konnten nicht gespeichert werden: " + error));
    QDialog::done(result);
}

} // namespace zf::ui
