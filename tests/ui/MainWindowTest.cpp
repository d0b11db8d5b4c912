// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's wiring: what the user does reaches the logger, what the logger does
// shows, and the window ends as the user or the system asks.
#include "ui/MainWindow.h"
#include "app/Application.h"
#include "logging/Logger.h"
#include "ui/HistoryView.h"
#include "ui/Look.h"
#include "ui/OptionsWindow.h"
#include "ui/RecordingLight.h"

#include "FakeDesktop.h"
#include "Helpers.h"
#include "LoggerRig.h"
#include "WindowScenes.h"

#include <QAccessible>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTranslator>
#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

#include <gtest/gtest.h>

#include <array>
#include <cerrno>

using namespace orv;

namespace {

using test::readAll;

struct Rig : test::LoggerRig {
    test::FakeDesktop desktop;
    test::FakeSaveDialog dialog;
    std::unique_ptr<MainWindow> window;
    const MainWindow::Controls *ui = nullptr;

    Rig()
    {
        window = std::make_unique<MainWindow>(make(), WindowServices{desktop, dialog});
        ui = &window->controls();
        logger->startUp();
        window->showStartUp();
    }
};

QHash<QObject *, int> *heardNameChanges = nullptr;

// Assistive technology listening, as a screen reader does, while the object lives.
struct ScreenReader {
    QHash<QObject *, int> nameChanges;
    QAccessible::UpdateHandler previous;
    ScreenReader()
    {
        heardNameChanges = &nameChanges;
        previous = QAccessible::installUpdateHandler([](QAccessibleEvent *event) {
            if (event->type() == QAccessible::NameChanged)
                ++(*heardNameChanges)[event->object()];
        });
        QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(true);
    }
    ~ScreenReader()
    {
        QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(false);
        QAccessible::installUpdateHandler(previous);
        heardNameChanges = nullptr;
    }
};

// Largest difference of a colour channel still taken for the same pixel: another build of
// the font renderer may shade the edges of glyphs a little differently, while a control
// moved by one pixel, a changed colour or caption differs by far more.
constexpr int kPictureTolerance = 16;

// Empty when the picture matches tests/ui/pictures/<name>.png; otherwise what differs and
// where the actual picture and the reference with the differing pixels in red went.
// ORVALIN_RENEW_PICTURES=1 makes the picture the new reference instead.
std::string compareWithReference(const QImage &picture, const QString &name)
{
    const QImage actual = picture.convertToFormat(QImage::Format_RGB32);
    const QString reference = QStringLiteral(ORVALIN_PICTURES_DIR "/%1.png").arg(name);
    if (qEnvironmentVariableIsSet("ORVALIN_RENEW_PICTURES"))
        return actual.save(reference) ? std::string() : "cannot write " + reference.toStdString();
    QImage difference = QImage(reference).convertToFormat(QImage::Format_RGB32);
    const bool sameSize = difference.size() == actual.size();
    if (!sameSize)
        difference = actual;
    int differing = 0;
    for (int y = 0; y < actual.height(); ++y) {
        for (int x = 0; x < actual.width(); ++x) {
            const QRgb a = actual.pixel(x, y), e = difference.pixel(x, y);
            if (!sameSize || std::abs(qRed(a) - qRed(e)) > kPictureTolerance
                || std::abs(qGreen(a) - qGreen(e)) > kPictureTolerance
                || std::abs(qBlue(a) - qBlue(e)) > kPictureTolerance) {
                difference.setPixel(x, y, qRgb(255, 0, 0));
                ++differing;
            }
        }
    }
    if (differing == 0)
        return {};
    const QDir out(QCoreApplication::applicationDirPath() + QStringLiteral("/pictures"));
    out.mkpath(QStringLiteral("."));
    const QString actualPath = out.filePath(name + QStringLiteral("-actual.png"));
    const QString differencePath = out.filePath(name + QStringLiteral("-difference.png"));
    actual.save(actualPath);
    difference.save(differencePath);
    return QStringLiteral("%1 pixel(s) differ from %2, or its size: see %3 and %4")
        .arg(differing)
        .arg(reference, actualPath, differencePath)
        .toStdString();
}

} // namespace

TEST(MainWindow, RecordButtonStartsAndStopsAndTheWindowShowsWhatIsRecorded)
{
    Rig rig;

    rig.ui->historyList->setFocus();
    QTest::keyClicks(rig.ui->historyList, QStringLiteral("+++-")); // before the start: no matter
    rig.ui->recordButton->click();
    rig.runTicks(1);
    // Typed into the list, every press counts, whichever control has the focus.
    QTest::keyClicks(rig.ui->historyList, QStringLiteral("+++"));
    QTest::keyClick(rig.ui->recordButton, Qt::Key_Minus);
    rig.runTicks(1);
    rig.logger->onReadoutTimer();
    EXPECT_EQ(rig.ui->historyList->text(), QStringLiteral(" 002 --     --- 12-05-2026 -- 14:03:08\r\n"
                                                          " 000 --     --- 12-05-2026 -- 14:03:07\r\n"
                                                          " 000 -- 000 ---  -- \r\n"));
    EXPECT_EQ(rig.ui->value1Readout->text(), QStringLiteral("2"));
    EXPECT_EQ(rig.ui->value2Readout->text(), QStringLiteral("---")); // test mode measures one value

    // The light blinks in the readout's tick while recording, and stays off once stopped.
    const auto readoutTick = [&] { QMetaObject::invokeMethod(&rig.logger->readoutTimer(), "timeout"); };
    const bool lit = rig.ui->light->isLit();
    readoutTick();
    EXPECT_NE(rig.ui->light->isLit(), lit);
    rig.ui->recordButton->click();
    EXPECT_EQ(rig.ui->recordButton->text(), QStringLiteral(" Record   Start"));
    readoutTick();
    EXPECT_FALSE(rig.ui->light->isLit());
    EXPECT_TRUE(rig.ui->fileMenu->menuAction()->isEnabled());
}

TEST(MainWindow, TheQuitQuestionComesAtOnceSaysWhatWaitsAndPromisesOnlyARescueItHasSecured)
{
    // Fine: a disk that answers, held back only while a line just taken is on its way.
    enum class Disk { Fine, NameTaken, Hung };
    struct Case {
        const char *what;
        bool answer;
        Disk disk;
        bool rescueFolderWorks;
        const char *asked;    // in the question as it came; nullptr: the plain question
        const char *answered; // in the question when it was answered; nullptr: the plain question
        int exitCode;         // -1: the program goes on
        const char *lastWords;
    };
    const Case cases[] = {
        {"no: the recording goes on", false, Disk::NameTaken, true,
         "2 mesure(s) attendent encore d'être écrites dans "
         "« data_tr.csv » (ce nom désigne un dossier)",
         "fichier de secours du dossier", -1, ""},
        {"a healthy disk, a sample just taken", true, Disk::Fine, true, nullptr, nullptr, 0, ""},
        {"kept in a rescue file", true, Disk::NameTaken, true, "recherche en cours", "fichier de secours du dossier", 3,
         ""},
        {"no folder takes them", true, Disk::NameTaken, false, "recherche en cours",
         "Aucun dossier ne peut recevoir de fichier de secours", 4, "3 mesure(s) perdues"},
        // The disk does not answer: the question does not wait for it, and tells of the lines
        // once they are seen to stay.
        {"a hung disk", true, Disk::Hung, true, nullptr,
         "3 mesure(s) sont en cours d'écriture dans « data_tr.csv » (le disque est lent).\nSi elles ne peuvent "
         "toujours pas l'être, elles seront gardées dans un fichier de secours du dossier",
         3, ""},
    };
    const QString plain = QStringLiteral("Arrêter l'orvalin et quitter ?");
    const auto says = [&](const QString &text, const char *expected) {
        return expected ? text.contains(QString::fromUtf8(expected)) : text == plain;
    };
    for (const Case &c : cases) {
        Rig rig;
        if (!c.rescueFolderWorks) {
            QFile(rig.dir.filePath(QStringLiteral("rescue"))).open(QIODevice::WriteOnly); // a file, not a folder
        }
        QSignalSpy ended(rig.window.get(), &MainWindow::programEnded);
        rig.ui->recordButton->click();
        rig.runTicks(1);
        rig.settle();
        if (c.disk == Disk::NameTaken) {
            // The file's name is taken by a folder: nothing more can go to it.
            QFile::remove(rig.dir.filePath(QStringLiteral("data_tr.csv")));
            QDir(rig.dir.path()).mkdir(QStringLiteral("data_tr.csv"));
        } else {
            rig.files.setFaultyPrefix(rig.dir.filePath(QStringLiteral("data_tr.csv")));
            rig.files.blockSyncs();
        }
        rig.runTicks(c.disk == Disk::Fine ? 1 : 2);
        if (c.disk == Disk::NameTaken)
            rig.settle();
        rig.desktop.answer = c.answer;
        rig.desktop.whileAsking = [&](const QuestionText &question) {
            if (c.disk == Disk::Fine) {
                rig.files.releaseSyncs(); // the line reaches the disk; the next is again on its way
                rig.settle();
                rig.files.blockSyncs();
            }
            rig.runTicks(1); // sampling goes on behind the question, which follows it
            test::within(5000, [&] {
                return says(question.text(), c.answered) && !question.text().contains(QStringLiteral("recherche"));
            });
            if (c.disk == Disk::Fine)
                rig.files.releaseSyncs();
        };
        rig.window->close();
        ASSERT_EQ(rig.desktop.questions.size(), 1) << c.what;
        EXPECT_EQ(rig.desktop.beeps, 1) << c.what;
        const QString asked = rig.desktop.questions[0];
        const QString answered = rig.desktop.answered[0];
        EXPECT_TRUE(asked.startsWith(plain)) << c.what;
        EXPECT_TRUE(says(asked, c.asked)) << c.what << asked.toStdString();
        EXPECT_FALSE(asked.contains(QStringLiteral("seront gardées"))) << c.what; // before the folder is known
        EXPECT_TRUE(says(answered, c.answered)) << c.what << answered.toStdString();
        EXPECT_EQ(answered.contains(QStringLiteral("3 mesure(s)")), c.disk != Disk::Fine) << c.what;
        EXPECT_EQ(rig.logger->recording(), !c.answer) << c.what;
        EXPECT_EQ(ended.count() ? ended[0][0].toInt() : -1, c.exitCode) << c.what;
        EXPECT_EQ(rig.desktop.lastWords.join('\n').contains(QString::fromUtf8(c.lastWords)), true) << c.what;
        EXPECT_EQ(rig.desktop.lastWords.isEmpty(), !*c.lastWords) << c.what;
        rig.files.releaseSyncs();
    }
}

TEST(MainWindow, ANewRecordingFileIsUsedAtOnceAndTheOldNameComesBackIfItCannotBeMade)
{
    struct Case {
        std::optional<QString> chosen;
        bool recordBefore;   // a recording starts before the outcome is known
        const char *message; // empty: no message
        const char *used;    // the recording file afterwards
    };
    const Case cases[] = {
        {std::nullopt, false, "", "data_tr.csv"},
        {QStringLiteral("essai.csv"), false, "", "essai.csv"},
        {QStringLiteral("a\"b.csv"), false, "contient un guillemet", "data_tr.csv"},
        {QStringLiteral("absent/x.csv"), false, "le dossier n'existe pas", "data_tr.csv"},
        {QStringLiteral("absent/x.csv"), true, "le dossier n'existe pas", "absent/x.csv"}, // its lines wait for it
    };
    for (const Case &c : cases) {
        Rig rig;
        rig.dialog.chooses = c.chosen ? std::optional(rig.dir.filePath(*c.chosen)) : std::nullopt;
        rig.window->onNewRecording();
        if (c.recordBefore)
            rig.ui->recordButton->click();
        rig.settle();
        EXPECT_EQ(rig.dialog.seen.title, QStringLiteral("Nouvel Enregistrement sous :"));
        EXPECT_EQ(QDir::currentPath(), rig.dir.path());
        EXPECT_EQ(rig.desktop.messages.join('\n').contains(QString::fromUtf8(c.message)), true) << c.message;
        EXPECT_EQ(rig.desktop.messages.size(), *c.message ? 1 : 0) << c.message;
        const QString used = QLatin1String(c.used) == "data_tr.csv" ? "data_tr.csv" : rig.dir.filePath(c.used);
        EXPECT_EQ(rig.logger->settings().recordingFile, used);
        // The title names the file being written at once; only a file made is stored.
        EXPECT_EQ(rig.window->windowTitle(), QStringLiteral("Orv.TR : ") + used.right(15));
        const bool made = c.chosen == QStringLiteral("essai.csv");
        EXPECT_EQ(readAll(rig.settingsPath).contains("essai.csv"), made);
        EXPECT_EQ(readAll(rig.dir.filePath("essai.csv")),
                  made ? QByteArray("N\xB0Record;Valeur1;Valeur2;Date;Time\r\n") : "");
    }
}

TEST(MainWindow, TheMenusOpenAViewerAndToggleTheChartWhoseWidthIsStored)
{
    Rig rig;
    QWidget *asked = nullptr;
    rig.window->openRecording = [&](QWidget *parent) { asked = parent; };
    EXPECT_EQ(rig.ui->fileMenu->actions().constLast(), rig.ui->openRecordingAction);
    EXPECT_EQ(rig.ui->openRecordingAction->text(), QStringLiteral("Ouvrir un enregistrement…"));
    rig.ui->openRecordingAction->trigger();
    EXPECT_EQ(asked, rig.window.get());

    rig.ui->chartAction->trigger();
    rig.settle();
    EXPECT_TRUE(rig.ui->chartAction->isChecked());
    EXPECT_TRUE(readAll(rig.settingsPath).endsWith(",7170\r\n"));
    rig.ui->chartAction->trigger();
    rig.settle();
    EXPECT_FALSE(rig.ui->chartAction->isCheckable()); // no empty check box in the menu
    EXPECT_TRUE(readAll(rig.settingsPath).endsWith(",4410\r\n"));
}

TEST(MainWindow, TheReadoutTellsAssistiveToolsOfEachChangeOnce)
{
    Rig rig;
    // Screen readers hear the data from the first moment.
    EXPECT_EQ(rig.ui->clockLabel->accessibleName(), QStringLiteral("Heure 00:00:00"));
    EXPECT_EQ(rig.ui->value1Readout->accessibleName(), QStringLiteral("Valeur A1 : 000"));
    rig.logger->onReadoutTimer();
    ScreenReader reader;
    // Six ticks over three seconds; the value changes once.
    for (int tick = 1; tick <= 6; ++tick) {
        rig.clock.advance(500);
        if (tick == 3)
            rig.logger->pressTestKey(u'+');
        rig.logger->onReadoutTimer();
    }
    EXPECT_EQ(reader.nameChanges.value(rig.ui->clockLabel), 3);
    EXPECT_EQ(reader.nameChanges.value(rig.ui->value1Readout), 1);
    EXPECT_EQ(reader.nameChanges.value(rig.ui->value2Readout), 0);
    EXPECT_EQ(rig.ui->clockLabel->accessibleName(), QStringLiteral("Heure 14:03:10"));
    EXPECT_EQ(rig.ui->value1Readout->accessibleName(), QStringLiteral("Valeur A1 : 1"));

    // A source that does not answer: its tooltip says why, in lines a tooltip can show.
    rig.logger->chooseSource(SourceKind::Board);
    rig.sources.log.problem = "La carte USB K8055 (adresse 3) ne répond pas. Vérifiez le câble ; sous Linux, vérifiez "
                              "aussi que la règle udev 70-k8055.rules est installée, puis débranchez et rebranchez la "
                              "carte.";
    rig.logger->onReadoutTimer();
    EXPECT_EQ(rig.ui->value2Readout->toolTip(),
              QStringLiteral("La carte USB K8055 (adresse 3) ne répond pas. Vérifiez le\n"
                             "câble ; sous Linux, vérifiez aussi que la règle udev\n"
                             "70-k8055.rules est installée, puis débranchez et rebranchez\n"
                             "la carte."));
}

TEST(OptionsWindow, IsADialogWhereEveryWayOfChoosingAppliesAndSavesAndEnterOrEscapeCloses)
{
    enum Way { Click, ArrowDown, Toggle }; // the last: an assistive tool's action
    struct Case {
        Way way;
        std::array<const char *, 2> buttons;
        const char *saved; // interval and source in the settings line
        Qt::Key closing;   // Enter presses OK wherever the focus is; Escape does what the close box does
    };
    const Case cases[] = {
        {Click, {"interval4"}, "4,0", Qt::Key_Return},
        {Click, {"sourceKeyboard"}, "1,0", Qt::Key_Enter}, // the one checked: chosen again
        {ArrowDown, {"interval1"}, "2,0", Qt::Key_Escape},
        {Toggle, {"interval5"}, "5,0", Qt::Key_Enter},
        {Toggle, {"sourceSerial", "channel2"}, "1,2", Qt::Key_Escape}, // a channel takes the mark, chooses nothing
    };
    for (const Case &c : cases) {
        Rig rig;
        rig.ui->settingsAction->trigger();
        OptionsWindow *options = rig.window->optionsWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(options));
        EXPECT_TRUE(rig.sources.log.calls.isEmpty()); // showing applies nothing
        EXPECT_FALSE(rig.window->isEnabled());
        rig.window->close(); // the close box only brings the options window forward
        EXPECT_TRUE(rig.desktop.questions.isEmpty() && rig.desktop.beeps == 0);
        EXPECT_EQ(QAccessible::queryAccessibleInterface(options)->role(), QAccessible::Dialog);
        EXPECT_TRUE(options->findChild<QPushButton *>(QStringLiteral("okButton"))->isDefault());
        QFile::remove(rig.settingsPath);
        for (const char *name : c.buttons) {
            QRadioButton *button = name ? options->findChild<QRadioButton *>(QLatin1String(name)) : nullptr;
            if (button && c.way == Toggle) {
                QAccessible::queryAccessibleInterface(button)->actionInterface()->doAction(
                    QAccessibleActionInterface::toggleAction());
            } else if (button && c.way == Click) {
                QTest::mouseClick(button, Qt::LeftButton);
            } else if (button) {
                button->setFocus();
                QTest::keyClick(options->windowHandle(), Qt::Key_Down);
            }
        }
        QTest::keyClick(options->windowHandle(), c.closing);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(rig.window->optionsWindow(), nullptr) << c.way << c.buttons[0];
        rig.settle();
        EXPECT_EQ(readAll(rig.settingsPath),
                  "\"NE PAS MODIFIER CE FICHIER\",\"data_tr.csv\"," + QByteArray(c.saved) + ",3600\r\n")
            << c.way << c.buttons[0];
        EXPECT_EQ(rig.logger->settings().source, static_cast<SourceKind>(c.saved[2] - '0')) << c.way << c.buttons[0];
        EXPECT_TRUE(rig.window->isEnabled());
        rig.desktop.answer = false;
        rig.window->close();
        EXPECT_EQ(rig.desktop.questions.size(), 1);
    }
}

TEST(WindowPictures, EveryWindowInEveryStateLooksAsItsReference)
{
    useProgramLook();
    Rig rig;
    WindowScenes scenes(*rig.window, *rig.logger, rig.desktop,
                        {[&rig](qint64 ms) { rig.clock.advance(ms); }, [&rig] { rig.files.writeError = ENOSPC; }});
    using Scene = WindowScenes::Scene;
    const char *wideTitle = "Orvalin Temps Réel                     Fichier en cours : mesures/serre.csv";
    const struct {
        Scene scene;
        const char *name;
        const char *title;
    } rows[] = {
        {Scene::Narrow, "main-narrow", "Orv.TR : sures/serre.csv"},
        {Scene::Wide, "main-wide", wideTitle},
        {Scene::WaitingWide, "waiting-wide", wideTitle},
        {Scene::WaitingNarrow, "waiting-narrow", "Orv.TR : sures/serre.csv"},
        {Scene::Options, "options", "   Réglages"},
        {Scene::About, "about", "About ZK"},
    };
    for (const auto &row : rows) {
        QWidget *shown = scenes.show(row.scene);
        ASSERT_NE(shown, nullptr) << row.name;
        EXPECT_EQ(shown->windowTitle(), QString::fromUtf8(row.title)) << row.name;
        const std::string mismatch = compareWithReference(shown->grab().toImage(), QLatin1String(row.name));
        EXPECT_TRUE(mismatch.empty()) << mismatch;
    }
}

TEST(QtDialogs, SpeakFrenchAndANameWithAQuoteComesBackAsTyped)
{
    QTranslator french;
    ASSERT_TRUE(installFrenchTranslations(french));
    QMessageBox box(QMessageBox::Question, QString(), QString(), QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(box.button(QMessageBox::Yes)->text().remove(u'&') + box.button(QMessageBox::No)->text().remove(u'&'),
              QStringLiteral("OuiNon"));
    QCoreApplication::removeTranslator(&french);
    // Qt's dialog would read a"b.csv as a list of names and hand back b.csv.
    QTemporaryDir dir;
    QtSaveDialog dialog;
    SaveRequest request;
    request.suggestedName = dir.filePath(QStringLiteral("data_tr.csv"));
    QTimer::singleShot(0, [] {
        auto *d = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        d->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(QStringLiteral("a\"b.csv"));
        QMetaObject::invokeMethod(d, "accept"); // what the Save button does
    });
    EXPECT_EQ(dialog.askSaveName(nullptr, request), std::optional(dir.filePath(QStringLiteral("a\"b.csv"))));
}
