// SPDX-License-Identifier: GPL-3.0-or-later
// The viewer's wiring: the file read off the window's thread reaches the list and the
// chart, the keys and the list drive the view, a growing file is followed, the exports
// write what they say.
#include "viewer/ViewerWindow.h"

#include "Helpers.h"
#include "Printers.h"

#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdio>

using namespace orv;
using test::within;

namespace {

// Answers the viewer's dialogs from the test.
class FakeViewerDialogs final : public ViewerDialogs {
public:
    QStringList opens;
    std::optional<QString> saves;
    std::optional<QSize> size;
    QStringList messages;

    QStringList openNames(QWidget *) override { return opens; }
    std::optional<QString> saveName(QWidget *, const QString &, const QString &, const QString &) override
    {
        return saves;
    }
    std::optional<QSize> pictureSize(QWidget *, QSize) override { return size; }
    void inform(QWidget *, const QString &text) override { messages << text; }
};

QStringList listed(const QListWidget *list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

template <typename Widget>
Widget *child(const ViewerWindow &window, const char *name = nullptr)
{
    return window.findChild<Widget *>(name ? QLatin1String(name) : QString());
}

} // namespace

TEST(ViewerWindow, ShowsFollowsAndExportsARecordingFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("data_tr.csv"));
    const QByteArray header = "N\xB0Record;Valeur1;Valeur2;Date;Time\r\n";
    QByteArray bytes = header;
    for (int i = 1; i <= 120; ++i)
        bytes += QByteArray::number(i) + ';' + QByteArray::number(i % 13)
                 + ";;12-07-2026;14:" + QByteArray::number(3 + i / 60).rightJustified(2, '0') + ':'
                 + QByteArray::number(i % 60).rightJustified(2, '0') + "\r\n";
    ASSERT_TRUE(test::writeFile(path, bytes + "1;5;6;12-08-2026;09:00:00\r\nnot a sample\r\n"));
    FakeViewerDialogs dialogs;
    ViewerWindow window(path, {dialogs, std::make_shared<PosixRecordingFiles>()});
    window.show();
    QListWidget *list = child<QListWidget>(window, "recordingList");
    ASSERT_TRUE(within(5000, [&] { return list->count() == 3; }));
    EXPECT_EQ(listed(list),
              (QStringList{"Tous les enregistrements (2) : 12-07-2026 14:03:01 → 12-08-2026 09:00:00, 121 mesures",
                           "Enregistrement 1 : 12-07-2026 14:03:01 → 14:05:00, 120 mesures, intervalle 1 s",
                           "Enregistrement 2 : 12-08-2026 09:00:00 → 09:00:00, 1 mesure"}));
    EXPECT_EQ(child<QLabel>(window, "notice")->text(),
              QStringLiteral("1 ligne n'est pas une mesure et est ignorée : ligne 123."));
    EXPECT_FALSE(child<QProgressBar>(window)->isVisible()) << "a short read shows no progress bar";

    // The first recording, zoomed in with the keyboard, then panned and back to the whole.
    list->setCurrentRow(1);
    ChartWidget *chart = child<ChartWidget>(window);
    EXPECT_EQ(chart->scene().samples, (RecordingSpan{0, 120}));
    const double whole = chart->scene().to - chart->scene().from;
    EXPECT_NEAR(whole, 119 * 1.02, 0.01);
    chart->setFocus();
    QTest::keyClick(chart, Qt::Key_Plus);
    const double span = chart->scene().to - chart->scene().from;
    EXPECT_NEAR(span, whole / 2, 0.01);
    QTest::keyClick(chart, Qt::Key_Left);
    EXPECT_FALSE(chart->followsEnd());
    QTest::keyClick(chart, Qt::Key_Home);
    EXPECT_NEAR(chart->scene().to - chart->scene().from, whole, 0.01);
    QTest::keyClick(chart, Qt::Key_Plus);
    QTest::keyClick(chart, Qt::Key_End);
    EXPECT_TRUE(chart->followsEnd());
    const QPoint middle = plotArea(chart->size()).center();
    QTest::mouseMove(chart, middle);
    const QString readout = child<QLabel>(window, "cursorReadout")->text();
    EXPECT_TRUE(readout.contains(QStringLiteral(" · Valeur 1 : "))
                && readout.endsWith(QStringLiteral("Valeur 2 : ---")))
        << readout.toStdString();

    // Samples appended to the file reach the list and, zoomed at the end, the view follows.
    const double toBefore = chart->scene().to;
    list->setCurrentRow(2);
    QTest::keyClick(chart, Qt::Key_Plus);
    QTest::keyClick(chart, Qt::Key_End);
    ASSERT_TRUE(test::writeFile(path, "2;7;8;12-08-2026;09:10:00\r\n", QIODevice::Append));
    ASSERT_TRUE(within(3000, [&] {
        return list->item(2)->text()
               == QStringLiteral("Enregistrement 2 : 12-08-2026 09:00:00 → 09:10:00, 2 mesures, intervalle 10 min");
    }));
    EXPECT_TRUE(chart->followsEnd());
    EXPECT_GT(chart->scene().to, toBefore);

    // The file replaced by a shorter one of other dates: every title tells of the new file.
    const QString other = dir.filePath(QStringLiteral("other.csv"));
    ASSERT_TRUE(test::writeFile(other, header
                                           + "1;4;5;01-02-2027;08:00:00\r\n2;4;5;01-02-2027;08:00:30\r\n"
                                             "1;9;;02-02-2027;10:00:00\r\n"));
    ASSERT_EQ(std::rename(QFile::encodeName(other).constData(), QFile::encodeName(path).constData()), 0);
    const QStringList replaced{"Tous les enregistrements (2) : 01-02-2027 08:00:00 → 02-02-2027 10:00:00, 3 mesures",
                               "Enregistrement 1 : 01-02-2027 08:00:00 → 08:00:30, 2 mesures, intervalle 30 s",
                               "Enregistrement 2 : 02-02-2027 10:00:00 → 10:00:00, 1 mesure"};
    EXPECT_TRUE(within(3000, [&] { return listed(list) == replaced; })) << listed(list).join(u'\n').toStdString();

    // Exports: a picture of the chosen size, decoded; a workbook, written off the thread.
    dialogs.saves = dir.filePath(QStringLiteral("chart.png"));
    dialogs.size = QSize(640, 360);
    QSignalSpy exported(&window, &ViewerWindow::exported);
    window.exportPicture(QStringLiteral("png"));
    ASSERT_TRUE(exported.wait(10000));
    const QImage picture(dir.filePath(QStringLiteral("chart.png")));
    EXPECT_EQ(picture.size(), QSize(640, 360));
    EXPECT_EQ(picture.pixelColor(2, 2), QColor(Qt::white));
    dialogs.saves = dir.filePath(QStringLiteral("absent/data.xlsx"));
    window.exportWorkbook();
    ASSERT_TRUE(exported.wait(10000));
    EXPECT_EQ(dialogs.messages,
              QStringList{QStringLiteral("Impossible d'écrire « %1 » : impossible d'écrire le fichier "
                                         "(dossier absent, droits ou disque plein).")
                              .arg(dir.filePath(QStringLiteral("absent/data.xlsx")))});
}
