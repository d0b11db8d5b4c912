// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewer/ViewerWindow.h"

#include "recordings/XlsxExport.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPointer>
#include <QProgressBar>
#include <QSplitter>
#include <QStatusBar>
#include <QThread>
#include <QTimer>
#include <QToolBar>

namespace orv {

namespace {

QAction *action(QWidget *owner, const QString &text, const QKeySequence &keys, const char *name)
{
    auto *a = new QAction(text, owner);
    a->setObjectName(QLatin1String(name));
    a->setShortcut(keys);
    return a;
}

} // namespace

ViewerWindow::ViewerWindow(const QString &path, ViewerServices services, QWidget *parent)
    : QMainWindow(parent)
    , m_path(path)
    , m_services(std::move(services))
{
    setObjectName(QStringLiteral("viewerWindow"));
    setWindowTitle(QStringLiteral("%1 — Orvalin, lecture d'un enregistrement").arg(QFileInfo(path).fileName()));
    resize(1100, 640);

    m_chart = new ChartWidget;
    m_list = new QListWidget;
    m_list->setObjectName(QStringLiteral("recordingList"));
    m_list->setAccessibleName(QStringLiteral("Enregistrements du fichier"));
    m_list->setMinimumWidth(260);
    m_list->setWordWrap(true);
    auto *split = new QSplitter;
    split->addWidget(m_list);
    split->addWidget(m_chart);
    split->setStretchFactor(1, 1);
    split->setSizes({300, 800});
    setCentralWidget(split);

    m_notice = new QLabel;
    m_notice->setObjectName(QStringLiteral("notice"));
    m_notice->setWordWrap(true);
    m_notice->setStyleSheet(QStringLiteral("background: #ffffc0; color: #a00000; padding: 3px;"));
    m_notice->hide();
    m_cursor = new QLabel;
    m_cursor->setObjectName(QStringLiteral("cursorReadout"));
    m_cursor->setAccessibleName(QStringLiteral("Mesure sous le curseur"));
    m_progress = new QProgressBar;
    m_progress->setObjectName(QStringLiteral("progress"));
    m_progress->setAccessibleName(QStringLiteral("Lecture du fichier"));
    m_progress->setMaximumWidth(240);
    m_progress->hide();
    statusBar()->addWidget(m_notice, 1);
    statusBar()->addPermanentWidget(m_cursor);
    statusBar()->addPermanentWidget(m_progress);

    buildMenus();
    connect(m_list, &QListWidget::currentRowChanged, this, &ViewerWindow::showChosenRecording);
    connect(m_chart, &ChartWidget::cursorMoved, this, [this](const QString &text) {
        m_cursor->setText(text);
        m_cursor->setAccessibleDescription(text);
    });
    connect(m_chart, &ChartWidget::viewChanged, this, [this] { m_followAction->setChecked(m_chart->followsEnd()); });
    m_chart->setMessage(QStringLiteral("Lecture de « %1 »…").arg(path));

    m_sinceStart.start();
    // A bar only for a read long enough to be noticed.
    QTimer::singleShot(kProgressDelayMs, this, [this] { m_progress->setVisible(m_loading); });
    m_watch = new RecordingWatch(m_services.files, path, this);
    connect(m_watch, &RecordingWatch::progressed, this, &ViewerWindow::showProgress);
    connect(m_watch, &RecordingWatch::updated, this, &ViewerWindow::apply);
    m_watch->start();
}

ViewerWindow::~ViewerWindow() = default;

void ViewerWindow::open(const QStringList &paths, ViewerServices services)
{
    for (const QString &path : paths) {
        auto *w = new ViewerWindow(path, services);
        w->setAttribute(Qt::WA_DeleteOnClose);
        w->show();
    }
}

void ViewerWindow::buildMenus()
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("&Fichier"));
    file->setObjectName(QStringLiteral("viewerFileMenu"));
    QAction *xlsx = action(this, QStringLiteral("Exporter en classeur (.xlsx)…"), QKeySequence(), "exportXlsxAction");
    QAction *png = action(this, QStringLiteral("Exporter en image (.png)…"), QKeySequence(), "exportPngAction");
    QAction *svg =
        action(this, QStringLiteral("Exporter en image vectorielle (.svg)…"), QKeySequence(), "exportSvgAction");
    QAction *close = action(this, QStringLiteral("Fermer"), QKeySequence::Close, "closeAction");
    file->addActions({xlsx, png, svg});
    file->addSeparator();
    file->addAction(close);
    connect(xlsx, &QAction::triggered, this, &ViewerWindow::exportWorkbook);
    connect(png, &QAction::triggered, this, [this] { exportPicture(QStringLiteral("png")); });
    connect(svg, &QAction::triggered, this, [this] { exportPicture(QStringLiteral("svg")); });
    connect(close, &QAction::triggered, this, &QWidget::close);

    QMenu *view = menuBar()->addMenu(QStringLiteral("&Affichage"));
    view->setObjectName(QStringLiteral("viewerViewMenu"));
    QAction *whole = action(this, QStringLiteral("Vue entière"), QKeySequence(Qt::CTRL | Qt::Key_0), "wholeAction");
    QAction *in = action(this, QStringLiteral("Zoom avant"), QKeySequence::ZoomIn, "zoomInAction");
    QAction *out = action(this, QStringLiteral("Zoom arrière"), QKeySequence::ZoomOut, "zoomOutAction");
    m_followAction =
        action(this, QStringLiteral("Suivre la fin"), QKeySequence(Qt::CTRL | Qt::Key_End), "followAction");
    m_followAction->setCheckable(true);
    m_followAction->setChecked(true);
    m_followAction->setToolTip(QStringLiteral("Garde la fin de l'enregistrement à l'écran pendant qu'il grandit"));
    view->addActions({whole, in, out, m_followAction});
    connect(whole, &QAction::triggered, m_chart, &ChartWidget::showWhole);
    connect(in, &QAction::triggered, m_chart, &ChartWidget::zoomIn);
    connect(out, &QAction::triggered, m_chart, &ChartWidget::zoomOut);
    connect(m_followAction, &QAction::triggered, this, [this](bool on) {
        if (on)
            m_chart->showEnd();
        else
            m_chart->pan(-(m_chart->scene().to - m_chart->scene().from) / 10);
    });

    QToolBar *bar = addToolBar(QStringLiteral("Affichage"));
    bar->setObjectName(QStringLiteral("viewerToolBar"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    bar->addActions({whole, in, out, m_followAction});
    bar->addSeparator();
    bar->addActions({xlsx, png, svg});
    for (QAction *a : {whole, in, out, m_followAction, xlsx, png, svg, close})
        if (!a->shortcut().isEmpty())
            a->setToolTip(a->text() + QStringLiteral(" (") + a->shortcut().toString(QKeySequence::NativeText) + u')');
}

void ViewerWindow::showProgress(qint64 done, qint64 total)
{
    m_progress->setRange(0, 1000);
    m_progress->setValue(total > 0 ? static_cast<int>(done * 1000 / total) : 0);
    if (m_loading && m_sinceStart.elapsed() >= kProgressDelayMs)
        m_progress->show();
}

void ViewerWindow::apply(const RecordingReader::Update &u)
{
    using Kind = RecordingReader::Update::Kind;
    switch (u.kind) {
    case Kind::Unchanged:
    case Kind::Cancelled: return;
    case Kind::Failed: {
        m_loading = false;
        m_progress->hide();
        const QString text = readFailureText(m_path, u.error);
        // A file replaced by one that is not a recording: nothing of the old one stays.
        m_chart->setSamples(nullptr, nullptr, {});
        m_table.reset();
        m_list->clear();
        m_chart->setMessage(text);
        m_services.dialogs.inform(this, text);
        return;
    }
    case Kind::Unreadable:
        m_problem =
            QStringLiteral("« %1 » ne peut plus être lu : %2. Ce qui a été lu reste affiché.").arg(m_path, u.error);
        showNotice();
        return;
    case Kind::Loaded:
        m_loading = false;
        m_progress->hide();
        m_table = u.samples;
        m_index.clear();
        break;
    case Kind::Appended:
        if (!m_table)
            return;
        // An export on another thread may still read the old samples.
        if (m_table.use_count() > 1)
            m_table = std::make_shared<SampleTable>(*m_table);
        m_table->append(*u.samples);
        break;
    }
    m_problem.clear();
    m_notes = u.notes;
    m_index.extend(*m_table);
    showNotice();
    showRecordings(u.kind == Kind::Loaded);
}

void ViewerWindow::showNotice()
{
    QString text = describeNotes(m_notes);
    if (!m_problem.isEmpty())
        text = m_problem + (text.isEmpty() ? QString() : u'\n' + text);
    m_notice->setText(text);
    m_notice->setAccessibleName(text);
    m_notice->setVisible(!text.isEmpty());
}

void ViewerWindow::showRecordings(bool readAnew)
{
    const auto &spans = m_table->recordings();
    const int wanted = static_cast<int>(spans.size()) + 1;
    const int chosen = m_list->currentRow();
    QSignalBlocker quiet(m_list);
    SpanSummary all;
    all.count = m_table->size();
    if (all.count > 0) {
        all.start = m_table->time(0);
        all.end = m_table->time(all.count - 1);
    }
    const QString allTitle = allRecordingsTitle(static_cast<int>(spans.size()), all);
    if (m_list->count() == 0)
        m_list->addItem(allTitle);
    else
        m_list->item(0)->setText(allTitle);
    // Only the last recording grows while lines are added; a file replaced or cut shorter
    // may have changed every one.
    while (m_list->count() > wanted)
        delete m_list->takeItem(m_list->count() - 1);
    for (int r = readAnew ? 1 : std::max(1, m_list->count() - 1); r < wanted; ++r) {
        const QString title = recordingTitle(r, summarize(*m_table, spans[static_cast<std::size_t>(r - 1)]));
        if (r < m_list->count())
            m_list->item(r)->setText(title);
        else
            m_list->addItem(title);
    }
    m_list->setCurrentRow(chosen >= 0 && chosen < wanted ? chosen : 0);
    m_chart->setSamples(m_table.get(), &m_index, chosenSpan());
}

RecordingSpan ViewerWindow::chosenSpan() const
{
    if (!m_table)
        return {};
    const int row = m_list->currentRow();
    const auto &spans = m_table->recordings();
    if (row >= 1 && row <= static_cast<int>(spans.size()))
        return spans[static_cast<std::size_t>(row - 1)];
    return {0, m_table->size()};
}

void ViewerWindow::showChosenRecording()
{
    if (m_table)
        m_chart->setSamples(m_table.get(), &m_index, chosenSpan());
}

void ViewerWindow::writeOffThread(const QString &target, const QString &writtenText, std::function<QString()> write)
{
    statusBar()->showMessage(QStringLiteral("Export de « %1 »…").arg(target));
    QThread *worker =
        QThread::create([write = std::move(write), target, writtenText, window = QPointer<ViewerWindow>(this)] {
            const QString failure = write();
            QMetaObject::invokeMethod(QCoreApplication::instance(), [window, target, writtenText, failure] {
                if (!window)
                    return;
                window->statusBar()->clearMessage();
                if (failure.isEmpty())
                    window->statusBar()->showMessage(writtenText.arg(target), 10000);
                else
                    window->m_services.dialogs.inform(
                        window, QStringLiteral("Impossible d'écrire « %1 » : %2.").arg(target, failure));
                Q_EMIT window->exported(target, failure);
            });
        });
    connect(worker, &QThread::finished, worker, &QObject::deleteLater);
    worker->start();
}

void ViewerWindow::exportWorkbook()
{
    if (!m_table)
        return;
    const QFileInfo source(m_path);
    const std::optional<QString> name =
        m_services.dialogs.saveName(this, QStringLiteral("Exporter en classeur"),
                                    source.absoluteDir().filePath(source.completeBaseName() + QStringLiteral(".xlsx")),
                                    QStringLiteral("Classeur (*.xlsx)"));
    if (!name)
        return;
    // The workbook keeps its own hold on the samples: the window may copy them as the file grows.
    writeOffThread(
        *name, QStringLiteral("Classeur écrit : %1"),
        [table = std::shared_ptr<const SampleTable>(m_table), target = *name] { return exportXlsx(*table, target); });
}

void ViewerWindow::exportPicture(const QString &suffix)
{
    if (!m_table)
        return;
    const QFileInfo source(m_path);
    const bool svg = suffix == QLatin1String("svg");
    const std::optional<QString> name = m_services.dialogs.saveName(
        this, svg ? QStringLiteral("Exporter en image vectorielle") : QStringLiteral("Exporter en image"),
        source.absoluteDir().filePath(source.completeBaseName() + u'.' + suffix),
        svg ? QStringLiteral("Image SVG (*.svg)") : QStringLiteral("Image PNG (*.png)"));
    if (!name)
        return;
    const std::optional<QSize> size = m_services.dialogs.pictureSize(this, m_chart->size());
    if (!size)
        return;
    ChartScene scene = m_chart->scene();
    scene.cursor = -1;
    // The scene points at samples and an index that change as the file grows: drawn here,
    // written (and the PNG compressed) off the window's thread.
    const bool vector = QFileInfo(*name).suffix().compare(QLatin1String("svg"), Qt::CaseInsensitive) == 0;
    writeOffThread(*name, QStringLiteral("Image écrite : %1"),
                   [picture = drawChartPicture(scene, *size, vector), target = *name] {
                       return writeChartPicture(picture, target);
                   });
}

} // namespace orv
