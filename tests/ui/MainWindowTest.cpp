// The main window's wiring: what the user does reaches the logger, what the logger does
// shows, and the window ends as the user or the system asks.
#include "app/MainWindow.h"
#include "app/Application.h"
#include "app/Logger.h"

#include "FakeDesktop.h"
#include "LoggerRig.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTranslator>

#include <gtest/gtest.h>

using namespace orv;

namespace {

using test::readAll;

struct Rig : test::LoggerRig {
    test::FakeDesktop desktop;
    test::FakeSaveDialog dialog;
    std::unique_ptr<MainWindow> window;
    MainWindowLayout *ui = nullptr;

    Rig()
    {
        window = std::make_unique<MainWindow>(make(), WindowServices{desktop, dialog});
        ui = &window->controls();
        logger->startUp();
        window->showStartUp();
    }
    ~Rig() { window.reset(); }
};

} // namespace

TEST(MainWindow, RecordButtonStartsAndStopsAndTheWindowShowsWhatIsRecorded)
{
    Rig rig;
    EXPECT_EQ(rig.window->windowTitle(), QStringLiteral("Orv.TR : data_tr.csv"));
    // Screen readers hear the data, from the first moment.
    EXPECT_EQ(rig.ui->clockLabel->accessibleName(), QStringLiteral("Heure 00:00:00"));
    EXPECT_EQ(rig.ui->value1Readout->accessibleName(), QStringLiteral("Valeur A1 : 000"));

    rig.ui->historyList->setFocus();
    QTest::keyClicks(rig.ui->historyList, QStringLiteral("+++-")); // before the start: no matter
    rig.ui->recordButton->click();
    EXPECT_EQ(rig.ui->recordButton->text(), QStringLiteral(" Record  Stop"));
    EXPECT_FALSE(rig.ui->fileMenu->menuAction()->isEnabled());
    EXPECT_FALSE(rig.ui->optionMenu->menuAction()->isEnabled());
    rig.runTicks(1);
    // Typed into the list, every press counts, whichever control has the focus.
    QTest::keyClicks(rig.ui->historyList, QStringLiteral("+++"));
    QTest::keyClick(rig.ui->recordButton, Qt::Key_Minus);
    rig.runTicks(1);
    rig.logger->onReadoutTimer();
    EXPECT_EQ(rig.window->historyText(), QStringLiteral(" 002 --     --- 12-05-2026 -- 14:03:08\r\n"
                                                        " 000 --     --- 12-05-2026 -- 14:03:07\r\n"
                                                        " 000 -- 000 ---  -- \r\n"));
    EXPECT_EQ(rig.ui->value1Readout->text(), QStringLiteral("2"));
    EXPECT_EQ(rig.ui->value2Readout->text(), QStringLiteral("---")); // test mode measures one value
    EXPECT_EQ(rig.ui->clockLabel->accessibleName(), QStringLiteral("Heure 14:03:08"));

    rig.window->onLedTimer();
    EXPECT_EQ(rig.ui->ledDisc->fillColor, kLedOnColor);
    rig.ui->recordButton->click();
    EXPECT_EQ(rig.ui->recordButton->text(), QStringLiteral(" Record   Start"));
    EXPECT_EQ(rig.ui->ledDisc->fillColor, kLedOffColor);
    EXPECT_FALSE(rig.ui->ledHalo->backOpaque);
    EXPECT_TRUE(rig.ui->fileMenu->menuAction()->isEnabled());
}

TEST(MainWindow, QuittingAsksAndWhatCannotBeWrittenIsKeptInARescueFile)
{
    struct Case {
        bool answer;
        bool linesWaiting;
    };
    for (const Case &c : {Case{false, true}, Case{true, false}, Case{true, true}}) {
        Rig rig;
        QSignalSpy ended(rig.window.get(), &MainWindow::programEnded);
        rig.ui->recordButton->click();
        rig.runTicks(1);
        rig.logger->waitForWrites();
        if (c.linesWaiting) {
            // The file's name is taken by a folder: nothing more can go to it.
            QFile::remove(rig.dir.filePath(QStringLiteral("data_tr.csv")));
            QDir(rig.dir.path()).mkdir(QStringLiteral("data_tr.csv"));
            rig.runTicks(2);
        }
        rig.desktop.answer = c.answer;
        rig.window->close();
        ASSERT_EQ(rig.desktop.questions.size(), 1);
        EXPECT_EQ(rig.desktop.beeps, 1);
        const QString question = rig.desktop.questions[0];
        EXPECT_TRUE(question.startsWith(QStringLiteral("Arrêter l'orvalin et quitter ?")));
        EXPECT_EQ(question.contains(QStringLiteral("2 mesure(s) attendent encore d'être écrites dans « data_tr.csv » "
                                                   "(ce nom désigne un dossier)")),
                  c.linesWaiting);
        EXPECT_EQ(ended.count(), c.answer ? 1 : 0);
        EXPECT_EQ(rig.logger->recording(), !c.answer); // No: the recording goes on
    }
}

TEST(MainWindow, NewRecordingFileChangesNothingUnlessAFileWasMade)
{
    struct Case {
        std::optional<QString> chosen;
        const char *message; // empty: no message, the name is taken
    };
    const QString longName = QStringLiteral("x").repeated(300) + QStringLiteral(".csv");
    const Case cases[] = {
        {std::nullopt, ""},
        {QStringLiteral("essai.csv"), ""},
        {QStringLiteral("a\"b.csv"), "contient un guillemet"},
        {longName, "le nom est trop long"},
        {QStringLiteral("absent/x.csv"), "le dossier n'existe pas"},
    };
    for (const Case &c : cases) {
        Rig rig;
        rig.dialog.chooses = c.chosen ? std::optional(rig.dir.filePath(*c.chosen)) : std::nullopt;
        rig.window->onNewRecording();
        EXPECT_EQ(rig.dialog.seen.title, QStringLiteral("Nouvel Enregistrement sous :"));
        EXPECT_EQ(QDir::currentPath(), rig.dir.path());
        const bool taken = c.chosen && !*c.message;
        if (taken) {
            EXPECT_TRUE(rig.desktop.messages.isEmpty());
            EXPECT_EQ(readAll(rig.dir.filePath(*c.chosen)), QByteArray("N\xB0Record;Valeur1;Valeur2;Date;Time\r\n"));
            // The title names the file being written at once.
            EXPECT_EQ(rig.window->windowTitle(), QStringLiteral("Orv.TR : ") + rig.dir.filePath(*c.chosen).right(15));
            EXPECT_TRUE(readAll(rig.settingsPath).contains("essai.csv"));
        } else {
            EXPECT_EQ(rig.desktop.messages.size(), c.chosen ? 1 : 0) << *c.message;
            if (c.chosen) {
                EXPECT_TRUE(rig.desktop.messages[0].contains(QString::fromUtf8(c.message)))
                    << rig.desktop.messages[0].toStdString();
            }
            EXPECT_EQ(rig.logger->settings().recordingFile, QStringLiteral("data_tr.csv"));
        }
    }
}

TEST(MainWindow, OpenARecordingIsTheLastEntryOfFichierAndAsksTheApplication)
{
    Rig rig;
    QWidget *asked = nullptr;
    rig.window->openRecording = [&](QWidget *parent) { asked = parent; };
    EXPECT_EQ(rig.ui->fileMenu->actions().constLast(), rig.ui->openRecordingAction);
    EXPECT_EQ(rig.ui->openRecordingAction->text(), QStringLiteral("Ouvrir un enregistrement…"));
    rig.ui->openRecordingAction->trigger();
    EXPECT_EQ(asked, rig.window.get());
}

TEST(MainWindow, ChartToggleWidensNarrowsAndStoresTheWidth)
{
    Rig rig;
    rig.ui->chartAction->trigger();
    EXPECT_EQ(rig.window->windowWidthTwips(), 7170);
    EXPECT_TRUE(rig.ui->chartAction->isChecked());
    EXPECT_TRUE(rig.window->windowTitle().endsWith(QStringLiteral("Fichier en cours : data_tr.csv")));
    EXPECT_TRUE(readAll(rig.settingsPath).endsWith(",7170\r\n"));
    rig.ui->chartAction->trigger();
    EXPECT_EQ(rig.window->windowWidthTwips(), 4410);
    EXPECT_FALSE(rig.ui->chartAction->isCheckable()); // no empty check box in the menu
    EXPECT_TRUE(readAll(rig.settingsPath).endsWith(",4410\r\n"));
}

TEST(MainWindow, TheOptionsWindowAppliesOnlyWhatTheUserClicks)
{
    Rig rig;
    rig.ui->settingsAction->trigger();
    OptionsWindow *options = rig.window->optionsWindow();
    ASSERT_NE(options, nullptr);
    EXPECT_FALSE(rig.window->isEnabled());
    EXPECT_TRUE(options->intervalButton(Interval::Second1)->isChecked());
    EXPECT_EQ(rig.sources.log.calls, QStringList{QStringLiteral("open keyboard")}); // showing applies nothing

    options->intervalButton(Interval::Minutes15)->click();
    options->sourceButton(SourceKind::Serial)->click();
    options->findChild<QRadioButton *>(QStringLiteral("channel2"))->click(); // chooses nothing
    EXPECT_FALSE(options->sourceButton(SourceKind::Serial)->isChecked());
    EXPECT_EQ(rig.logger->settings().source, SourceKind::Serial);
    EXPECT_EQ(readAll(rig.settingsPath), QByteArray("\"NE PAS MODIFIER CE FICHIER\",\"data_tr.csv\",4,2,3600\r\n"));
    options->close();
    EXPECT_TRUE(rig.window->isEnabled());
}

TEST(MainWindow, QtsOwnTextsAreFrench)
{
    QTranslator french;
    ASSERT_TRUE(installFrenchTranslations(french));
    QMessageBox box(QMessageBox::Question, QString(), QString(), QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(box.button(QMessageBox::Yes)->text().remove(u'&'), QStringLiteral("Oui"));
    EXPECT_EQ(box.button(QMessageBox::No)->text().remove(u'&'), QStringLiteral("Non"));
    QCoreApplication::removeTranslator(&french);
}

TEST(SaveDialog, ANameWithAQuoteComesBackAsTyped)
{
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
