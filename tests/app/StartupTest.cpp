// Start-up, shutdown and the options window, driven through the main window's handlers.
#include "Fakes.h"
#include "app/Application.h"
#include "ui/Form_option.h"

#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>
#include <QRadioButton>
#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace orv;
using namespace orv::test;

TEST(Startup, FirstStartCreatesTheDefaultSettingsFile)
{
    Rig rig;
    Orvalin &w = rig.start();
    EXPECT_EQ(rig.configBytes(), QByteArray("\"NE PAS MODIFIER CE FICHIER\",\"data_tr.csv\",1,0,3600\r\n"));
    EXPECT_EQ(rig.state.intervalText, QStringLiteral("1000"));
    EXPECT_EQ(rig.state.tickDivider, 1);
    EXPECT_EQ(rig.state.settings.sourceCode, 0);
    EXPECT_FALSE(w.optionsWindow()->isVisible());
    EXPECT_FALSE(rig.sources.calls.contains(QStringLiteral("usb_ouvre")));
    EXPECT_FALSE(rig.sources.calls.contains(QStringLiteral("rs232_ouvre")));

    // The layout's initial state: only the readout timer runs, the zero sample is set.
    EXPECT_TRUE(w.ui().TimerValActu->isActive());
    EXPECT_FALSE(w.ui().Timer1->isActive());
    EXPECT_FALSE(w.ui().TimerLed->isActive());
    EXPECT_FALSE(w.ui().TimerVideBufferRS->isActive());
    EXPECT_EQ(w.ui().TimerVideBufferRS->interval(), 10000);
    EXPECT_EQ(std::get<qint16>(w.store().slot(0).value1), 0);
    EXPECT_EQ(std::get<qint16>(w.store().slot(0).value2), 0);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Orv.TR : data_tr.csv"));
    EXPECT_EQ(w.ui().client->width(), 288);
    EXPECT_EQ(w.ui().client->height(), 177);
}

TEST(Startup, SecondStartAppliesStoredChoicesWithoutRewritingTheFile)
{
    Rig rig;
    const QByteArray stored("\"NE PAS MODIFIER CE FICHIER\",\"essai.csv\",4,2,7170\r\n");
    rig.writeConfig(stored);
    const QDateTime before = QFileInfo(rig.config->path()).lastModified();
    Orvalin &w = rig.start();

    EXPECT_EQ(rig.state.intervalText, QStringLiteral("60000"));
    EXPECT_EQ(rig.state.tickDivider, 15);
    EXPECT_EQ(rig.state.settings.sourceCode, 2);
    EXPECT_EQ(rig.state.settings.windowWidth, 7170);
    EXPECT_TRUE(rig.sources.portOpen);
    EXPECT_TRUE(w.ui().TimerVideBufferRS->isActive());
    EXPECT_FALSE(w.optionsWindow()->isVisible());
    EXPECT_EQ(rig.configBytes(), stored);
    EXPECT_EQ(QFileInfo(rig.config->path()).lastModified(), before);
    // The stored width is not applied: the window opens narrow.
    EXPECT_EQ(w.windowWidthTwips(), 4410);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Orv.TR : essai.csv"));
}

TEST(Startup, StoredBoardSourceOpensTheBoardOnce)
{
    Rig rig;
    rig.writeConfig("\"NE PAS MODIFIER CE FICHIER\",\"data_tr.csv\",1,1,4410\r\n");
    rig.start();
    EXPECT_EQ(rig.sources.calls.count(QStringLiteral("usb_ouvre")), 1);
    EXPECT_EQ(rig.sources.calls.count(QStringLiteral("usb_lit")), 0);
}

TEST(Startup, DamagedSettingsStillStartAndAreNotRewritten)
{
    Rig rig;
    const QByteArray damaged("\"NE PAS MODIFIER CE FICHIER\",\"mes.csv\",42,9,abc\r\n");
    rig.writeConfig(damaged);
    rig.start();
    EXPECT_EQ(rig.state.settings.fileName, QStringLiteral("mes.csv"));
    EXPECT_EQ(rig.state.settings.intervalIndex, 1);
    EXPECT_EQ(rig.state.intervalText, QStringLiteral("1000"));
    EXPECT_EQ(rig.state.settings.sourceCode, 0);
    EXPECT_EQ(rig.configBytes(), damaged);
}

TEST(Shutdown, EveryCloseBeepsAndAsksNoKeepsTheRecordingGoing)
{
    Rig rig;
    Orvalin &w = rig.start();
    w.show();
    w.CmdRecord_Click();
    rig.runTicks(3);
    rig.desktop.answer = false;
    EXPECT_FALSE(w.close());
    EXPECT_EQ(rig.desktop.beeps, 1);
    ASSERT_EQ(rig.desktop.questions.size(), 1);
    EXPECT_EQ(rig.desktop.questions.first(), QStringLiteral("OrvalinTR1.03|Arrêter l'orvalin et quitter ?"));
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(w.ui().Timer1->isActive());
    rig.runTicks(1);
    EXPECT_EQ(w.store().count(), 4);
}

TEST(Shutdown, YesClosesTheSerialPortAndStopsEveryTimer)
{
    Rig rig;
    rig.writeConfig("\"NE PAS MODIFIER CE FICHIER\",\"data_tr.csv\",1,2,4410\r\n");
    Orvalin &w = rig.start();
    w.show();
    w.CmdRecord_Click();
    rig.runTicks(2);
    QSignalSpy ended(&w, &Orvalin::programEnded);
    rig.desktop.answer = true;
    EXPECT_TRUE(w.close());
    EXPECT_EQ(ended.count(), 1);
    EXPECT_FALSE(rig.sources.portOpen);
    EXPECT_EQ(rig.sources.calls.last(), QStringLiteral("rs232_ferme"));
    for (QTimer *t : {w.ui().Timer1, w.ui().TimerValActu, w.ui().TimerLed, w.ui().TimerVideBufferRS})
        EXPECT_FALSE(t->isActive()) << t->objectName().toStdString();
    // A tick already queued does nothing once the program has ended.
    const int count = w.store().count();
    w.Timer1_Timer();
    EXPECT_EQ(w.store().count(), count);
    // The file ends with a complete line.
    EXPECT_TRUE(rig.csv().endsWith("\r\n"));
}

TEST(OptionsWindow, ChoosingAnIntervalInTheOpenWindowSavesIt)
{
    Rig rig;
    Orvalin &w = rig.start();
    w.show();
    w.menuReglage_Click();
    Form_option *o = w.optionsWindow();
    ASSERT_TRUE(o && o->isVisible());
    EXPECT_FALSE(w.isEnabled());
    EXPECT_TRUE(o->isEnabled());
    EXPECT_TRUE(o->Option1[1]->isChecked());
    EXPECT_TRUE(o->Option2[0]->isChecked());

    o->Option1[4]->click(); // "15 '"
    EXPECT_EQ(rig.state.intervalText, QStringLiteral("60000"));
    EXPECT_EQ(rig.state.tickDivider, 15);
    EXPECT_EQ(rig.state.settings.intervalIndex, 4);
    EXPECT_EQ(rig.configBytes(), QByteArray("\"NE PAS MODIFIER CE FICHIER\",\"data_tr.csv\",4,0,3600\r\n"));

    o->Command1->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(w.isEnabled());
    EXPECT_EQ(w.optionsWindow(), nullptr);

    // Opened again, it shows the current choices.
    w.menuReglage_Click();
    EXPECT_TRUE(w.optionsWindow()->Option1[4]->isChecked());
    w.optionsWindow()->close(); // the close box does what OK does
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(w.isEnabled());
}

TEST(OptionsWindow, SourceChoicesOpenAndCloseTheSerialPort)
{
    Rig rig;
    Orvalin &w = rig.start();
    w.show();
    w.menuReglage_Click();
    Form_option *o = w.optionsWindow();
    rig.sources.calls.clear();

    o->Option2[2]->click();
    EXPECT_EQ(rig.sources.calls, QStringList{QStringLiteral("rs232_ouvre")});
    EXPECT_TRUE(w.ui().TimerVideBufferRS->isActive());
    EXPECT_EQ(rig.configBytes(), QByteArray("\"NE PAS MODIFIER CE FICHIER\",\"data_tr.csv\",1,2,3600\r\n"));

    rig.state.readings = {12, 34, false, false};
    o->Option2[1]->click(); // the board is not touched here
    EXPECT_EQ(rig.sources.calls, (QStringList{QStringLiteral("rs232_ouvre"), QStringLiteral("rs232_ferme")}));
    EXPECT_FALSE(w.ui().TimerVideBufferRS->isActive());
    EXPECT_EQ(rig.state.readings.value1, 12);
    EXPECT_EQ(rig.state.readings.value2, 34);

    // The only enabled channel button shares the group: it takes the mark, not the source.
    o->Option3[2]->click();
    EXPECT_FALSE(o->Option2[1]->isChecked());
    EXPECT_EQ(rig.state.settings.sourceCode, 1);
    EXPECT_FALSE(o->Option3[0]->isEnabled());
}

TEST(MainWindow, KeysReachTheWindowWhicheverControlHasTheFocus)
{
    Rig rig;
    Orvalin &w = rig.start();
    w.show();
    QKeyEvent plus(QEvent::KeyPress, Qt::Key_Plus, Qt::NoModifier, QStringLiteral("+"));
    QCoreApplication::sendEvent(w.ui().Text1, &plus);
    QCoreApplication::sendEvent(w.ui().CmdRecord, &plus);
    EXPECT_EQ(w.testValue(), 2);
    QKeyEvent minus(QEvent::KeyPress, Qt::Key_Minus, Qt::NoModifier, QStringLiteral("-"));
    QCoreApplication::sendEvent(w.ui().Text1, &minus);
    EXPECT_EQ(w.testValue(), 1);
}

TEST(MainWindow, MenusAsLaidOut)
{
    Rig rig;
    Orvalin &w = rig.start();
    const OrvalinUi &ui = w.ui();
    EXPECT_EQ(ui.menu_fichier->title(), QStringLiteral("Fichier"));
    EXPECT_EQ(ui.menu_nouveau->text(), QStringLiteral("Nouvel Enregistrement"));
    EXPECT_EQ(ui.menu_option->title(), QStringLiteral("Option"));
    EXPECT_EQ(ui.menuGraphe->text(), QStringLiteral("Graphe on/off"));
    EXPECT_FALSE(ui.menuGraphe->isChecked());
    EXPECT_TRUE(ui.separ1->isSeparator());
    EXPECT_EQ(ui.menuReglage->text(), QStringLiteral("Réglages"));
    EXPECT_EQ(ui.menu_intero->title(), QStringLiteral("?"));
    EXPECT_EQ(ui.menu_aide->text(), QStringLiteral("Aide"));
    EXPECT_FALSE(ui.menu_aide->isEnabled());
    EXPECT_EQ(ui.menu_apropos->text(), QStringLiteral("à Propos"));
}

TEST(MainWindow, QtsOwnTextsAreFrench)
{
    QTranslator french;
    ASSERT_TRUE(installFrenchTranslations(french));
    QMessageBox box(QMessageBox::Question, QStringLiteral("OrvalinTR1.03"), QStringLiteral("?"),
                    QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(box.button(QMessageBox::Yes)->text().remove(u'&'), QStringLiteral("Oui"));
    EXPECT_EQ(box.button(QMessageBox::No)->text().remove(u'&'), QStringLiteral("Non"));
    QCoreApplication::removeTranslator(&french);
}
