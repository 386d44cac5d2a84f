// The mail dialog: the session's mail fields shown and taken back, the HTML button, the settings file
// written when it closes, and no send while the last one still runs.
#include <QApplication>
#include <QCheckBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include "base/Text.h"
#include "support/TestSupport.h"
#include "ui/dialogs/MailerForm.h"
#include "ui/dialogs/StakeDialog.h"

using namespace zf;

namespace {

struct MailerFormTest : ::testing::Test, test::WithSession {
    MailerFormTest() : WithSession(dateValue(2024, 5, 15)) {}
    test::TempDir dir;
    void SetUp() override { m.home = dir.path(); }
};

} // namespace

TEST_F(MailerFormTest, ShowsTheFieldsAndStoresTheSettingsWhenClosed) {
    MailController& mail = session.mail;
    mail.ensureLoaded();
    mail.draft.host = "smtp.example.org";
    mail.draft.password = "geheim";
    mail.draft.toAddress = "anna@example.org";
    mail.draft.body = "zwei Wörter\r\nHallo";
    ui::MailerForm form(mail);
    QString shown;
    QTimer::singleShot(0, [&] {
        EXPECT_EQ(form.findChild<QLineEdit*>("ledHost")->text(), "smtp.example.org");
        EXPECT_EQ(form.findChild<QLineEdit*>("LEdPass")->echoMode(), QLineEdit::Password);
        EXPECT_TRUE(form.findChild<QCheckBox*>("Bestaetigung")->isChecked());
        EXPECT_TRUE(form.findChild<QCheckBox*>("CheckCertificate")->isChecked());
        form.findChild<QPushButton*>("MailFormHTMLButton")->click();
        shown = form.findChild<QPlainTextEdit*>("HTMLBody")->toPlainText();
        form.findChild<QLineEdit*>("ledFrom")->setText("org@example.org");
        form.findChild<QCheckBox*>("CheckCertificate")->setChecked(false);
        form.reject();
    });
    form.run();
    EXPECT_EQ(shown, "<html><body>zwei &nbsp;Wörter\n<br>Hallo</body></html>");
    EXPECT_EQ(mail.draft.fromAddress, "org@example.org");
    EXPECT_EQ(test::contents(mail.settingsPath()),
              "[SMTP]\r\nHost=smtp.example.org\r\nUser=\r\nPass=geheim\r\nCheckCertificate=0\r\n\r\n[MAIL]\r\nFrom="
              "org@example.org\r\nTo=anna@example.org\r\nCC=\r\n");
}

using MailerFormDesign = MailerFormTest;

// The mail dialog as the program starts it, without a settings file: every field with its label and
// what it holds.
TEST_F(MailerFormDesign, EveryFieldAsSpecified) {
    ui::MailerForm form(session.mail);
    const auto labelOf = [&](QWidget* field) -> std::string {
        for (QFormLayout* layout : form.findChildren<QFormLayout*>())
            if (auto* l = qobject_cast<QLabel*>(layout->labelForField(field))) return l->text().toStdString();
        return {};
    };
    QTimer::singleShot(0, [&] {
        EXPECT_EQ(form.windowTitle().toStdString(), "Orvanes Tippwerk Email-Client");
        const struct {
            const char* name;
            const char* label;
            const char* content; // none: ours to choose, not empty
        } fields[] = {
            {"ledHost", "Host (SMTP server)", ""},
            {"LedUser", "Username", ""},
            {"LEdPass", "Password", ""},
            {"ledFrom", "From-Email", ""},
            {"FromName", "From-Name", "Orvane Software"},
            {"ledTo", "To-Email", ""},
            {"ToName", "To-Name", nullptr},
            {"ledCC", "CC  ...  Kopie Empfänger", ""},
            {"BCCEmail", "BCC  ...  Blind Kopie", ""},
            {"ledSubject", "Betreff", "Bitte vergeben Sie einen Betreff für Ihre Nachricht"},
        };
        for (const auto& f : fields) {
            auto* edit = form.findChild<QLineEdit*>(f.name);
            ASSERT_TRUE(edit) << f.name;
            EXPECT_EQ(labelOf(edit), f.label);
            if (f.content) {
                EXPECT_EQ(edit->text().toStdString(), f.content) << f.name;
            } else {
                EXPECT_FALSE(edit->text().isEmpty()) << f.name;
            }
        }
        EXPECT_EQ(form.findChild<QLineEdit*>("LEdPass")->echoMode(), QLineEdit::Password);
        auto* receipt = form.findChild<QCheckBox*>("Bestaetigung");
        EXPECT_EQ(receipt->text().toStdString(), "Empfangsbestätigung");
        EXPECT_TRUE(receipt->isChecked());
        for (const char* name : {"Body", "HTMLBody", "ledAttachment"}) {
            auto* memo = form.findChild<QPlainTextEdit*>(name);
            ASSERT_TRUE(memo) << name;
            EXPECT_TRUE(memo->toPlainText().isEmpty()) << name;
            EXPECT_EQ(memo->lineWrapMode(), QPlainTextEdit::NoWrap) << name;
            EXPECT_FALSE(memo->tabChangesFocus()) << name;
        }
        const struct {
            const char* name;
            const char* caption;
        } buttons[] = {
            {"MailFormHTMLButton", "Text in HTML übernehmen"}, {"btnAttachment", "..."}, {"btnSendMail", "Send Mail"}};
        for (const auto& b : buttons) EXPECT_EQ(form.findChild<QPushButton*>(b.name)->text().toStdString(), b.caption);
        bool attachmentText = false;
        for (QLabel* l : form.findChildren<QLabel*>())
            attachmentText |= l->text() == "wählen sie Dateien welche als Anhang zu der Email gesendet weren sollen";
        EXPECT_TRUE(attachmentText);
        auto* status = form.findChild<QPlainTextEdit*>("StatusMemo");
        EXPECT_EQ(status->toPlainText().toStdString(), "Status...\n");
        EXPECT_EQ(status->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        form.reject();
    });
    form.run();
}

// The address fields refuse a control character where it is typed or pasted: the field keeps its
// text and a German message says why. With the certificate check off, one line says that the password
// may then travel unencrypted.
TEST_F(MailerFormTest, AddressFieldsRefuseControlCharactersAndThePlainLoginIsNamed) {
    MailController& mail = session.mail;
    mail.ensureLoaded();
    ui::MailerForm form(mail);
    QStringList boxes;
    const auto answerNextBox = [&] {
        QTimer::singleShot(0, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                boxes << box->text();
                box->accept();
            }
        });
    };
    QTimer::singleShot(0, [&] {
        for (const char* name : {"ledFrom", "ledTo", "ledCC", "BCCEmail"}) {
            auto* field = form.findChild<QLineEdit*>(name);
            field->setText("anna@example.org");
            answerNextBox();
            field->insert("\r\nRCPT TO:<evil@example.org>");
            EXPECT_EQ(field->text(), "anna@example.org") << name;
            field->insert(">");
            EXPECT_EQ(field->text(), "anna@example.org>") << name; // the full check comes with the send
        }
        auto* warning = form.findChild<QLabel*>("PlainTextWarning");
        auto* verify = form.findChild<QCheckBox*>("CheckCertificate");
        EXPECT_TRUE(verify->isChecked());
        if (warning) {
            EXPECT_FALSE(warning->isVisible());
            verify->setChecked(false);
            EXPECT_TRUE(warning->isVisible());
            EXPECT_EQ(warning->text(), "Ohne „Zertifikat prüfen“ kann das Passwort unverschlüsselt übertragen werden.");
        } else {
            ADD_FAILURE() << "no PlainTextWarning";
        }
        form.reject();
    });
    form.run();
    ASSERT_EQ(boxes.size(), 4);
    for (const auto& text : boxes)
        EXPECT_EQ(text, "Eine Email-Adresse darf keine Steuerzeichen (etwa Zeilenumbrüche oder Tabulatoren) enthalten; "
                        "die Eingabe wurde nicht übernommen.");
}

// TForm9 keeps its caption and the proposal in Edit1.
TEST(StakeDialog, CaptionAndEdit) {
    ui::StakeDialog dialog;
    dialog.edit()->setText("43,7");
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Einsatz bei den Mitspielern eintragen");
    EXPECT_EQ(dialog.findChild<QLineEdit*>("Edit1")->text(), "43,7");
}

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
