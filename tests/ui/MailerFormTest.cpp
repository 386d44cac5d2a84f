// The mail dialog: the session's mail fields shown and taken back, the HTML button, the settings file
// written when it closes, and no send while the last one still runs.
#include <QApplication>
#include <QCheckBox>
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
