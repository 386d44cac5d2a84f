// The main window on the offscreen platform, with scripted seams, a settings store in memory, a fixed
// clock and a fresh program folder (the first start writes Keno.dat from the bundled history).
#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QFontDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <memory>

#include "app/Session.h"
#include "app/draws/Browser.h"
#include "app/settings/ControlCatalogue.h"
#include "app/settings/SettingsPersistence.h"
#include "app/settings/SettingsSchema.h"
#include "base/GermanFormat.h"
#include "core/draws/DrawStore.h"
#include "core/ports/SettingsStore.h"
#include "platform/SystemClock.h"
#include "platform/qt/QtHttpClient.h"
#include "platform/qt/QtPrompter.h"
#include "support/TestSupport.h"
#include "ui/MainWindow.h"

using namespace zf;

namespace {

QDate qdate(double value) { return QDate(1899, 12, 30).addDays(static_cast<qint64>(value)); }

// One program start: its own folder, store and seams.
struct Start {
    QTemporaryDir dir;
    test::ScriptedPrompter prompter;
    test::RecordingShell shell;
    test::RecordingSound sound;
    MemorySettingsStore store;
    FixedClock clock{dateValue(2026, 3, 1)};
    QtHttpClient http;
    Session session{prompter, dialogsOf(prompter), shell, sound, clock, store, &http};
    std::unique_ptr<MainWindow> w;

    std::string home() const { return dir.path().toStdString() + "/"; }
    void writeHomeFile(const char* name, const QByteArray& content) {
        QFile f(dir.filePath(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    void start() {
        w = std::make_unique<MainWindow>(session, dir.path().toStdString());
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        QApplication::processEvents();
    }
    std::vector<DrawRecord> draws() const {
        DrawStore s(home() + "Keno.dat");
        s.refresh();
        return s.records();
    }
    template <class T> T* find(const char* name) const {
        T* t = w->findChild<T*>(name);
        if (!t) qWarning("no widget %s", name);
        return t;
    }
    QString text(const char* label) const { return find<QLabel>(label)->text(); }
    void click(const char* name) const { QTest::mouseClick(find<QAbstractButton>(name), Qt::LeftButton); }
    void resizeTo(int width, int height) const {
        w->resize(width, height);
        QTRY_COMPARE(w->height(), height);
        QTRY_COMPARE(w->width(), width);
    }
};

// Answers the next modal dialog the way `answer` says, as soon as it is open.
void whenModal(std::function<void(QWidget*)> answer) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, answer] {
        if (QWidget* m = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            answer(m);
        }
    });
    timer->start();
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void captionTabsAndStartUp();
    void browsingUpdatesLabelsAndPicker();
    void deleteRemovesTheCurrentDraw();
    void kenoTypeRerunsTheHitCheck();
    void listsStayInStep();
    void startUpProblemsAreReported();
    void tallerScalesWiderDoesNot();
    void closingStoresSizeOnlyWhenNormal();
    void cancelledFontDialogStillMakesDrawLineBold();
    void linksOpenThroughTheShell();
    void prompterAnswersInGerman();
    void prompterBoxesSitOverTheWindow();
};

void MainWindowTest::captionTabsAndStartUp() {
    Start s;
    s.start();
    QCOMPARE(s.w->objectName(), QString("TForm1"));
    QCOMPARE(s.w->windowTitle(), QString("Orvane's Zahlfuchs  Tippen Sie 2-10 aus 70"));
    auto* tabs = s.find<QTabWidget>("PageControl1");
    QStringList captions;
    for (int i = 0; i < tabs->count(); ++i) captions << tabs->tabText(i);
    QCOMPARE(captions, QStringList({"Keno-Tipp", "Optionen", "Diagramm", "Datenbank", "Plus 5", "Internet-Optionen",
                                    "Mitspieler"}));
    QCOMPARE(tabs->currentIndex(), 0);
    auto* inner = s.find<QTabWidget>("PageControl2");
    QStringList pages;
    for (int i = 0; i < inner->count(); ++i) pages << inner->tabText(i);
    QCOMPARE(pages, QStringList({"Statistisch", "Schein Optimierung", "Mathematisch", "Allgemein"}));
    QVERIFY(s.find<QWidget>("DiagrammArea") && s.find<QWidget>("Plus5Area"));

    // The first start seeded Keno.dat; the latest draw is on display everywhere.
    const auto recs = s.draws();
    QVERIFY(recs.size() > 100);
    const DrawRecord& last = recs.back();
    QCOMPARE(s.text("Label35").toStdString(), drawLine(last, 2));
    QCOMPARE(s.text("Label29"), s.text("Label35"));
    QVERIFY(s.text("Label35").startsWith(QString::fromStdString(formatDrawDate(last.datum))));
    QCOMPARE(s.find<QDateEdit>("DateTimePicker1")->date(), qdate(last.datum));
    QCOMPARE(s.find<QDateEdit>("DateTimePicker1")->displayFormat(), QString("dd.MM.yyyy"));
    QCOMPARE(s.find<QDateEdit>("DateTimePicker1")->minimumDate(), QDate(2004, 2, 1));
    QVERIFY(s.text("Label13").startsWith("Quersumme: "));
    QVERIFY(s.text("Label31").startsWith("QS"));
    // First start: design state of the options.
    QVERIFY(s.find<QCheckBox>("CheckBox28")->isChecked());
    QVERIFY(s.find<QCheckBox>("CheckBox36")->isChecked());
    QCOMPARE(s.find<QSpinBox>("UpDown18")->value(), 10);
    QCOMPARE(s.find<QLineEdit>("ProxyPortEdit")->text(), QString("80"));
    QCOMPARE(s.find<QLineEdit>("Edit3")->text(), QString("0,20"));
    QVERIFY(s.find<QPushButton>("SpeedButton12")->isEnabled());
    QVERIFY(s.find<QPushButton>("BitBtn4")->isEnabled());
    QVERIFY(s.find<QPushButton>("BitBtn6")->isEnabled());
    QVERIFY(s.prompter.messages.empty());
}

void MainWindowTest::browsingUpdatesLabelsAndPicker() {
    Start s;
    s.start();
    const auto recs = s.draws();
    const size_t n = recs.size();
    auto* picker = s.find<QDateEdit>("DateTimePicker1");

    struct Step {
        const char* button;
        size_t expected;
    };
    // Back twice on the main tab, forward once on the Plus 5 tab, back once there, forward at the end.
    const Step steps[] = {{"SpeedButton6", n - 2},  {"SpeedButton6", n - 3}, {"SpeedButton18", n - 2},
                          {"SpeedButton30", n - 3}, {"SpeedButton7", n - 2}, {"SpeedButton7", n - 1},
                          {"SpeedButton7", n - 1}};
    for (const Step& st : steps) {
        s.click(st.button);
        const DrawRecord& r = recs[st.expected];
        QCOMPARE(s.text("Label35").toStdString(), drawLine(r, 2));
        QCOMPARE(s.text("Label29"), s.text("Label35"));
        QCOMPARE(s.text("Label30").toStdString(), plus5Line(r, 2));
        QCOMPARE(picker->date(), qdate(r.datum));
    }

    // Seek: the picker's date picks the first draw on or after it.
    const DrawRecord& target = recs[n / 2];
    picker->setDate(qdate(target.datum));
    s.click("SpeedButton5");
    QCOMPARE(s.text("Label29").toStdString(), drawLine(target, 2));
    QCOMPARE(s.text("Label35"), s.text("Label29"));
    // Dates before the first draw day are refused by the picker itself.
    picker->setDate(QDate(2001, 1, 1));
    QCOMPARE(picker->date(), QDate(2004, 2, 1));
}

void MainWindowTest::deleteRemovesTheCurrentDraw() {
    Start s;
    s.start();
    const auto before = s.draws();
    s.click("SpeedButton6"); // the second last draw
    const DrawRecord gone = before[before.size() - 2];
    s.prompter.answers.push_back(true); // "Ja" to the question before the deletion
    s.click("BitBtn6");
    QCOMPARE(s.prompter.questions.back(), "Die Ziehung vom " + formatDate(gone.datum) + " löschen?");
    const auto after = s.draws();
    QCOMPARE(after.size(), before.size() - 1);
    for (const auto& r : after) QVERIFY(r.datum != gone.datum);
    // The seek after the deletion lands on the next later draw.
    QCOMPARE(s.text("Label35").toStdString(), drawLine(before.back(), 2));
    QCOMPARE(s.find<QDateEdit>("DateTimePicker1")->date(), qdate(before.back().datum));
}

void MainWindowTest::kenoTypeRerunsTheHitCheck() {
    Start s;
    // A tip of ten numbers of the latest draw and one of ten numbers that never all come at once.
    const auto recs = [] {
        QTemporaryDir d;
        std::string err;
        writeBundledHistory(d.path().toStdString() + "/Keno.dat", &err);
        DrawStore st(d.path().toStdString() + "/Keno.dat");
        st.refresh();
        return st.records();
    }();
    std::array<uint8_t, 20> z = recs.back().zahl;
    std::sort(z.begin(), z.end());
    QString hit;
    for (int i = 0; i < 10; ++i) hit += (i ? "," : "") + QString::asprintf("%02d", z[static_cast<size_t>(i)]);
    s.writeHomeFile("tipps.txt", (hit + "\r\n").toLatin1());
    s.start();

    auto* hits = s.find<QListView>("ListBox2");
    auto* tips = s.find<QListView>("ListBox1");
    QCOMPARE(tips->model()->rowCount(), 1);
    QCOMPARE(tips->model()->index(0, 0).data().toString(), hit);
    QCOMPARE(hits->model()->index(0, 0).data().toString(), QString("10"));
    QCOMPARE(s.find<QLabel>("StatusBar1Panel0")->text(), QString("Max-Gewinn 10er"));
    QVERIFY(!s.sound.played.empty());

    s.find<QSpinBox>("UpDown18")->setValue(6);
    QCOMPARE(s.w->model().num(Num::KenoType).pos, 6);
    QCOMPARE(hits->model()->index(0, 0).data().toString(), QString("6"));
    QCOMPARE(s.find<QLabel>("StatusBar1Panel0")->text(), QString("Max-Gewinn 6er"));

    // Without the win sound switch the same check stays silent.
    s.sound.played.clear();
    QTest::mouseClick(s.find<QCheckBox>("CheckBox36"), Qt::LeftButton);
    QVERIFY(!s.w->model().on(Opt::WinSound));
    s.find<QSpinBox>("UpDown18")->setValue(7);
    QCOMPARE(hits->model()->index(0, 0).data().toString(), QString("7"));
    QVERIFY(s.sound.played.empty());
}

void MainWindowTest::listsStayInStep() {
    Start s;
    QByteArray lines;
    for (int i = 0; i < 12; ++i) lines += QByteArray::number(i + 1) + ",20,30,40,50\r\n";
    s.writeHomeFile("tipps.txt", lines);
    s.start();
    auto* tips = s.find<QListView>("ListBox1");
    auto* hits = s.find<QListView>("ListBox2");
    QCOMPARE(hits->model()->rowCount(), 12);

    tips->setCurrentIndex(tips->model()->index(7, 0));
    QCOMPARE(hits->currentIndex().row(), 7);
    QCOMPARE(s.text("Label23"), QString("2.Schein"));
    QCOMPARE(s.text("Label24"), QString("3.Tipp"));
    hits->setCurrentIndex(hits->model()->index(2, 0));
    QCOMPARE(tips->currentIndex().row(), 2);
    QCOMPARE(s.text("Label23"), QString("1.Schein"));

    // A new hit check rebuilds the hits column; the selection stays on the same line.
    s.click("SpeedButton6");
    QCOMPARE(tips->currentIndex().row(), 2);
    QCOMPARE(hits->currentIndex().row(), 2);
}

void MainWindowTest::startUpProblemsAreReported() {
    Start s;
    s.writeHomeFile("tipps.txt", "01,02,03\r\nkein Tipp\r\n");
    s.start();
    QTRY_COMPARE(s.prompter.messages.size(), size_t(1));
    QVERIFY(QString::fromStdString(s.prompter.messages[0]).contains("tipps.txt"));
}

void MainWindowTest::tallerScalesWiderDoesNot() {
    Start s;
    s.start();
    const char* names[] = {"ListBox1", "BitBtn6", "Label35", "CheckBox36", "UpDown18"};
    s.resizeTo(760, 600);
    QCOMPARE(s.w->model().scaledHeight, 600);
    std::vector<QRect> before;
    std::vector<double> fontBefore;
    for (const char* n : names) {
        before.push_back(s.find<QWidget>(n)->geometry());
        fontBefore.push_back(s.find<QWidget>(n)->font().pointSizeF());
    }
    const double tabFont = s.find<QWidget>("PageControl1")->font().pointSizeF();

    s.resizeTo(760, 660); // 10 % taller
    QCOMPARE(s.w->model().scaledHeight, 660);
    for (size_t i = 0; i < std::size(names); ++i) {
        const QRect g = s.find<QWidget>(names[i])->geometry();
        const QRect b = before[i];
        // Each value is rounded from the design, so it may be one pixel off the exact product.
        for (auto [now, then] :
             {std::pair{g.x(), b.x()}, {g.y(), b.y()}, {g.width(), b.width()}, {g.height(), b.height()}})
            QVERIFY2(std::abs(now - then * 1.1) <= 1.5, names[i]);
        QVERIFY(qFuzzyCompare(s.find<QWidget>(names[i])->font().pointSizeF(), fontBefore[i] * 1.1));
    }
    QVERIFY(qFuzzyCompare(s.find<QWidget>("PageControl1")->font().pointSizeF(), tabFont * 1.1));

    // Only wider: nothing inside the pages moves.
    std::vector<QRect> scaled;
    for (const char* n : names) scaled.push_back(s.find<QWidget>(n)->geometry());
    s.resizeTo(900, 660);
    QCOMPARE(s.w->model().scaledHeight, 660);
    for (size_t i = 0; i < std::size(names); ++i) QCOMPARE(s.find<QWidget>(names[i])->geometry(), scaled[i]);

    // Taller without room for the wider pages: the window widens to keep them in view.
    s.resizeTo(900, 573);
    s.w->resize(650, 630);
    QTRY_COMPARE(s.w->width(), 706);
    QCOMPARE(s.w->height(), 630);

    // Back to the design height: back to the design geometry exactly, no rounding left over.
    s.resizeTo(642, 573);
    QCOMPARE(s.find<QWidget>("BitBtn6")->geometry(), QRect(394, 48, 110, 32));
    QCOMPARE(s.find<QWidget>("PageControl1")->font().pointSizeF(), 12.0);
}

void MainWindowTest::closingStoresSizeOnlyWhenNormal() {
    {
        Start s;
        s.store.set(kSettingsKey, "height", RegValue::ofInt(650));
        s.store.set(kSettingsKey, "width", RegValue::ofInt(760));
        s.start();
        QTRY_COMPARE(s.w->height(), 650); // restored at start
        QCOMPARE(s.w->width(), 760);
        s.w->showMaximized();
        QTRY_VERIFY(s.w->isMaximized());
        s.w->close();
        QVERIFY(!s.w->model().windowNormal);
        QCOMPARE(s.store.get(kSettingsKey, "height")->dword, 650u);
        QCOMPARE(s.store.get(kSettingsKey, "width")->dword, 760u);
        QVERIFY(QFile::exists(s.dir.filePath("tipps.txt")));
    }
    {
        Start s;
        s.start();
        s.resizeTo(700, 620);
        s.w->close();
        QCOMPARE(s.store.get(kSettingsKey, "height")->dword, 620u);
        QCOMPARE(s.store.get(kSettingsKey, "width")->dword, 700u);
    }
}

void MainWindowTest::cancelledFontDialogStillMakesDrawLineBold() {
    Start s;
    s.store.set(kSettingsKey, "SystemFontName", RegValue::ofString("DejaVu Serif"));
    s.store.set(kSettingsKey, "SystemFontStyle", RegValue::ofBinary({0}));
    s.store.set(kSettingsKey, "SystemFontColor", RegValue::ofInt(0));
    s.store.set(kSettingsKey, "SystemFontSize", RegValue::ofInt(11));
    s.start();
    auto* label35 = s.find<QLabel>("Label35");
    QVERIFY(!label35->font().bold());
    QCOMPARE(s.w->font().family(), QString("DejaVu Serif"));

    QAction* item = s.find<QMenu>("PopupMenu1")->findChild<QAction*>("Systemschrift1");
    QVERIFY(item);
    QString seenFamily;
    QFont seen;
    whenModal([&](QWidget* dlg) {
        auto* fd = qobject_cast<QFontDialog*>(dlg);
        QVERIFY(fd);
        seenFamily = fd->currentFont().family();
        seen = fd->currentFont();
        fd->reject();
    });
    item->trigger();
    QCOMPARE(seenFamily, QString("DejaVu Serif")); // the dialog started from the window's font
    QVERIFY2(!seen.italic() && !seen.bold(), qPrintable("the dialog offered " + seen.styleName())); // its style too
    QVERIFY(label35->font().bold());
    QCOMPARE(label35->font().family(), QString("DejaVu Serif"));
    QCOMPARE(label35->font().pointSize(), 11);
    QCOMPARE(s.w->model().font.name, std::string("DejaVu Serif"));
    QCOMPARE(s.w->model().font.size, 11);

    // A taller window scales the chosen size like every other font on the pages.
    s.resizeTo(720, 630);
    QVERIFY(std::abs(label35->font().pointSizeF() - 11.0 * 630 / 573) < 0.01);

    // OK with another font: the window font changes and is stored at close.
    whenModal([](QWidget* dlg) {
        auto* fd = qobject_cast<QFontDialog*>(dlg);
        QFont f("DejaVu Sans Mono");
        f.setPointSize(14);
        f.setItalic(true);
        fd->setCurrentFont(f);
        fd->accept();
    });
    item->trigger();
    QCOMPARE(s.w->font().family(), QString("DejaVu Sans Mono"));
    QVERIFY(s.w->font().italic());
    QCOMPARE(label35->font().pointSize(), 14);
    s.w->close();
    QCOMPARE(s.store.get(kSettingsKey, "SystemFontName")->str, std::string("DejaVu Sans Mono"));
    QCOMPARE(s.store.get(kSettingsKey, "SystemFontSize")->dword, 14u);
    QCOMPARE(s.store.get(kSettingsKey, "SystemFontStyle")->bin, std::vector<uint8_t>({2}));
}

void MainWindowTest::linksOpenThroughTheShell() {
    // Only the official KENO link leaves the machine; the others open the help that comes with the
    // program, unless a setting names another address.
    const std::string help = "/usr/share/doc/zahlfuchs/README.md";
    Start s;
    s.session.model.localHelp = help;
    s.store.set(kSettingsKey, "LinkNeuigkeiten", RegValue::ofString("https://example.org/news"));
    s.start();
    s.find<QTabWidget>("PageControl1")->setCurrentIndex(5);
    const std::pair<const char*, std::string> links[] = {{"Label52", help},
                                                         {"Label54", "https://example.org/news"},
                                                         {"Label56", help},
                                                         {"Label63", help},
                                                         {"Label66", "https://www.lotto.de/keno"}};
    for (const auto& [name, address] : links) {
        QLabel* link = s.find<QLabel>(name);
        QCOMPARE(link->text().toStdString(), address);
        QTest::mouseClick(link, Qt::LeftButton);
        QCOMPARE(s.shell.opened.back(), address);
    }
    s.find<QTabWidget>("PageControl1")->setCurrentIndex(0);
    s.shell.opened.clear();
    for (const char* name : {"Label43", "Label44", "Panel9", "Panel10"})
        QTest::mouseClick(s.find<QWidget>(name), Qt::LeftButton);
    QCOMPARE(s.shell.opened, std::vector<std::string>(4, help));
    // The update button names where the update goes.
    QCOMPARE(s.find<QToolButton>("SpeedButton10")->toolTip(),
             QString("Aktualisieren der Lottozahlen aus dem Internet http://127.0.0.1:8471/"));
}

void MainWindowTest::prompterBoxesSitOverTheWindow() {
    QWidget window;
    window.setGeometry(300, 200, 640, 480);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QtPrompter prompter(&window);
    QPoint centre;
    const auto closeAndMeasure = [&](QWidget* dlg) {
        centre = dlg->frameGeometry().center();
        qobject_cast<QDialog*>(dlg)->reject();
    };
    const QPoint middle = window.frameGeometry().center();
    whenModal(closeAndMeasure);
    prompter.message("Die Ziehungen wurden gespeichert.");
    QVERIFY2((centre - middle).manhattanLength() < 8, "message box in the middle of the window");
    whenModal(closeAndMeasure);
    prompter.question("Tipps löschen?");
    QVERIFY2((centre - middle).manhattanLength() < 8, "question in the middle of the window");
    whenModal(closeAndMeasure);
    prompter.input("Glückszahl", "Ihre Glückszahl?", "1");
    QVERIFY2((centre - middle).manhattanLength() < 8, "input box in the middle of the window");
}

void MainWindowTest::prompterAnswersInGerman() {
    QtPrompter prompter;
    auto clickButton = [](const QString& text) {
        return [text](QWidget* dlg) {
            auto* box = qobject_cast<QMessageBox*>(dlg);
            QVERIFY(box);
            QStringList captions;
            for (QAbstractButton* b : box->buttons()) captions << b->text();
            captions.sort();
            const QStringList expected = text == "OK" ? QStringList{"OK"} : QStringList{"Ja", "Nein"};
            QCOMPARE(captions, expected);
            for (QAbstractButton* b : box->buttons())
                if (b->text() == text) b->click();
        };
    };
    whenModal(clickButton("Ja"));
    QVERIFY(prompter.question("Tipps löschen?"));
    whenModal(clickButton("Nein"));
    QVERIFY(!prompter.question("Tipps löschen?"));
    whenModal([](QWidget* dlg) { qobject_cast<QMessageBox*>(dlg)->reject(); }); // Escape or the close box
    QVERIFY(!prompter.question("Tipps löschen?"));
    // A step that cannot be undone: Enter answers "Nein".
    whenModal([](QWidget* dlg) {
        auto* box = qobject_cast<QMessageBox*>(dlg);
        QVERIFY(box && box->defaultButton());
        QCOMPARE(box->defaultButton()->text(), QString("Nein"));
        box->defaultButton()->click();
    });
    QVERIFY(!prompter.questionDefaultNo("Die Ziehung vom 29.12.2025 löschen?"));
    whenModal(clickButton("OK"));
    prompter.message("Lesen Sie zuerst die Daten der Ziehungen ein");

    QString prompt;
    whenModal([&](QWidget* dlg) {
        auto* in = qobject_cast<QInputDialog*>(dlg);
        QVERIFY(in);
        prompt = in->labelText();
        QCOMPARE(in->windowTitle(), QString("Ihre Glückszahl (1-99999999)?"));
        QCOMPARE(in->textValue(), QString("4711"));
        in->setTextValue("815");
        in->accept();
    });
    QCOMPARE(prompter.input("Ihre Glückszahl (1-99999999)?", "Geben Sie Ihre GlücksZahl ein!", "4711"),
             std::optional<std::string>("815"));
    QCOMPARE(prompt, QString("Geben Sie Ihre GlücksZahl ein!"));
    whenModal([](QWidget* dlg) { qobject_cast<QInputDialog*>(dlg)->reject(); });
    QCOMPARE(prompter.input("Titel", "Frage", "4711"), std::nullopt);
}

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
