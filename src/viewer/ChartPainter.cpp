// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewer/ChartPainter.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPainter>
#include <QPainterPath>
#include <QSaveFile>
#include <QSvgGenerator>

#include <array>
#include <cmath>
#include <optional>

namespace orv {

namespace {

constexpr int kLeft = 64, kRight = 64, kTop = 30, kBottom = 42;

struct Axis {
    double lo = 0, hi = 1, step = 1;
};

// A scale of round steps (1, 2 or 5 times a power of ten) around [lo, hi].
Axis valueAxis(MinMaxIndex::Extremes e)
{
    if (!e.any())
        return {0, 1, 0.2};
    double lo = e.min, hi = e.max;
    if (lo == hi) {
        lo -= 1;
        hi += 1;
    }
    const double raw = (hi - lo) / 5;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    double step = power;
    for (double m : {1.0, 2.0, 5.0, 10.0})
        if (raw <= m * power) {
            step = std::max(1.0, m * power);
            break;
        }
    return {std::floor(lo / step) * step, std::ceil(hi / step) * step, step};
}

// Steps of the time axis, in seconds, and how their labels read.
struct TimeStep {
    qint64 seconds;
    bool withSeconds;
};
constexpr std::array<TimeStep, 20> kTimeSteps = {
    {{1, true},      {2, true},      {5, true},      {10, true},     {15, true},      {30, true},      {60, false},
     {120, false},   {300, false},   {600, false},   {900, false},   {1800, false},   {3600, false},   {7200, false},
     {10800, false}, {21600, false}, {43200, false}, {86400, false}, {604800, false}, {2592000, false}}};

QString two(int v)
{
    return QString::number(v).rightJustified(2, u'0');
}

// A run of a line. Where its points stand a column apart or less (a decimated line: each
// column's minimum and maximum), each column is one vertical bar of pixels that reaches the
// previous column's last value, which draws the same pixels as the zigzag through them at
// a fraction of the cost; points further apart are joined by a line.
void drawLine(QPainter &p, const Polyline &line, const QRect &plot, const Axis &axis, const QColor &color)
{
    p.setPen(QPen(color, 0));
    const double scale = plot.height() / (axis.hi - axis.lo);
    auto at = [&](std::size_t i) {
        return QPointF(plot.left() + line.points[i].x(), plot.bottom() - (line.points[i].y() - axis.lo) * scale);
    };
    for (std::size_t r = 0; r < line.runStarts.size(); ++r) {
        const auto first = static_cast<std::size_t>(line.runStarts[r]);
        const std::size_t last =
            r + 1 < line.runStarts.size() ? static_cast<std::size_t>(line.runStarts[r + 1]) : line.points.size();
        if (last - first == 1) {
            p.fillRect(QRectF(at(first) - QPointF(1, 1), QSizeF(3, 3)), color);
            continue;
        }
        std::optional<QPointF> previous;
        for (std::size_t i = first; i < last;) {
            // The points of one column: one, or its minimum and maximum.
            std::size_t end = i + 1;
            while (end < last && line.points[end].x() == line.points[i].x())
                ++end;
            const QPointF head = at(i), tail = at(end - 1);
            double top = std::min(head.y(), tail.y()), bottom = std::max(head.y(), tail.y());
            if (previous && head.x() - previous->x() <= 1.01) {
                top = std::min(top, previous->y());
                bottom = std::max(bottom, previous->y());
            } else if (previous) {
                p.drawLine(*previous, head);
            }
            const int x = static_cast<int>(std::floor(head.x()));
            const int y = static_cast<int>(std::lround(top));
            p.fillRect(QRect(x, y, 1, static_cast<int>(std::lround(bottom)) - y + 1), color);
            previous = tail;
            i = end;
        }
    }
}

void drawValueAxis(QPainter &p, const QRect &plot, const Axis &axis, bool left, const QColor &color)
{
    const QFontMetrics fm(p.font());
    const double scale = plot.height() / (axis.hi - axis.lo);
    for (double v = axis.lo; v <= axis.hi + axis.step / 2; v += axis.step) {
        const int y = static_cast<int>(std::lround(plot.bottom() - (v - axis.lo) * scale));
        if (left) {
            p.setPen(QColor(225, 225, 225));
            p.drawLine(plot.left(), y, plot.right(), y);
        }
        p.setPen(color);
        const QString label = QLocale(QLocale::French).toString(v, 'g', 10);
        const int x = left ? plot.left() - 6 - fm.horizontalAdvance(label) : plot.right() + 6;
        p.drawText(x, y + fm.ascent() / 2 - 1, label);
    }
}

void drawTimeAxis(QPainter &p, const QRect &plot, double from, double to)
{
    const QFontMetrics fm(p.font());
    const double perPixel = (to - from) / plot.width();
    TimeStep step = kTimeSteps.back();
    for (const TimeStep &s : kTimeSteps)
        if (static_cast<double>(s.seconds) / perPixel >= fm.horizontalAdvance(QStringLiteral("00:00:00")) * 1.6) {
            step = s;
            break;
        }
    int lastDay = -1;
    const auto stepSeconds = static_cast<double>(step.seconds);
    for (qint64 t = static_cast<qint64>(std::ceil(from / stepSeconds)) * step.seconds; static_cast<double>(t) <= to;
         t += step.seconds) {
        const int x = static_cast<int>(std::lround(plot.left() + (static_cast<double>(t) - from) / perPixel));
        p.setPen(QColor(225, 225, 225));
        p.drawLine(x, plot.top(), x, plot.bottom());
        p.setPen(Qt::black);
        p.drawLine(x, plot.bottom(), x, plot.bottom() + 4);
        const CivilTime c = civil(t);
        QString upper = step.seconds >= 86400 ? two(c.day) + u'/' + two(c.month) : two(c.hour) + u':' + two(c.minute);
        if (step.withSeconds)
            upper += u':' + two(c.second);
        const int day = static_cast<int>(t / 86400);
        const QString lower =
            day != lastDay ? two(c.day) + u'/' + two(c.month) + u'/' + QString::number(c.year) : QString();
        lastDay = day;
        p.drawText(x - fm.horizontalAdvance(upper) / 2, plot.bottom() + 6 + fm.ascent(), upper);
        if (!lower.isEmpty())
            p.drawText(x - fm.horizontalAdvance(lower) / 2, plot.bottom() + 6 + fm.height() + fm.ascent(), lower);
    }
}

} // namespace

std::pair<double, double> wholeTimeRange(const SampleTable &table, RecordingSpan samples)
{
    if (samples.count == 0)
        return {0, 60};
    const auto first = static_cast<double>(table.time(samples.first));
    const auto last = static_cast<double>(table.time(samples.end() - 1));
    if (last - first < 60)
        return {(first + last) / 2 - 30, (first + last) / 2 + 30};
    const double margin = (last - first) / 100;
    return {first - margin, last + margin};
}

QRect plotArea(QSize size)
{
    return QRect(kLeft, kTop, std::max(1, size.width() - kLeft - kRight), std::max(1, size.height() - kTop - kBottom));
}

QString cursorText(const SampleTable &table, qsizetype sample)
{
    auto value = [&](int s) {
        const qint32 v = table.value(s, sample);
        return v == kNoValue ? QStringLiteral("---") : QString::number(v);
    };
    return QStringLiteral("%1 · Valeur 1 : %2 · Valeur 2 : %3")
        .arg(frenchDateTime(table.time(sample)), value(0), value(1));
}

void paintChart(QPainter &p, QSize size, const ChartScene &scene)
{
    p.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    const QRect plot = plotArea(size);
    if (!scene.message.isEmpty() || !scene.table || scene.samples.count == 0) {
        p.setPen(Qt::black);
        p.drawText(QRect(QPoint(0, 0), size).adjusted(16, 16, -16, -16), Qt::AlignCenter | Qt::TextWordWrap,
                   !scene.message.isEmpty() ? scene.message : QStringLiteral("Aucune mesure pour l'instant."));
        return;
    }
    const std::array<Polyline, 2> lines =
        decimate(*scene.table, *scene.index, scene.samples, scene.from, scene.to, plot.width());
    const Axis axis1 = valueAxis(lines[0].extremes), axis2 = valueAxis(lines[1].extremes);

    p.setRenderHint(QPainter::TextAntialiasing);
    drawTimeAxis(p, plot, scene.from, scene.to);
    drawValueAxis(p, plot, axis1, true, kValue1Color);
    drawValueAxis(p, plot, axis2, false, kValue2Color);
    p.setPen(Qt::black);
    p.drawRect(plot.adjusted(0, 0, -1, -1));

    p.save();
    p.setClipRect(plot);
    drawLine(p, lines[1], plot, axis2, kValue2Color);
    drawLine(p, lines[0], plot, axis1, kValue1Color);
    p.restore();
    if (lines[0].points.empty() && lines[1].points.empty()) {
        p.setPen(Qt::black);
        p.drawText(plot, Qt::AlignCenter | Qt::TextWordWrap,
                   QStringLiteral("Aucune valeur mesurée ici : les champs de ces mesures sont vides."));
    }

    const QFontMetrics fm(p.font());
    const int legendY = kTop - 10;
    p.setPen(QPen(kValue1Color, 2));
    p.drawLine(kLeft, legendY - fm.ascent() / 3, kLeft + 18, legendY - fm.ascent() / 3);
    p.drawText(kLeft + 24, legendY, QStringLiteral("Valeur 1 (échelle de gauche)"));
    const QString right = QStringLiteral("Valeur 2 (échelle de droite)");
    const int rightX = plot.right() - fm.horizontalAdvance(right);
    p.setPen(QPen(kValue2Color, 2));
    p.drawLine(rightX - 24, legendY - fm.ascent() / 3, rightX - 6, legendY - fm.ascent() / 3);
    p.drawText(rightX, legendY, right);

    if (scene.cursor >= 0 && scene.cursor < scene.table->size()) {
        const double x = plot.left()
                         + (static_cast<double>(scene.table->time(scene.cursor)) - scene.from) / (scene.to - scene.from)
                               * plot.width();
        if (x >= plot.left() && x <= plot.right()) {
            p.setPen(QPen(QColor(60, 60, 60), 1, Qt::DashLine));
            p.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
            const std::array<Axis, 2> axes{axis1, axis2};
            for (int s = 0; s < 2; ++s) {
                const qint32 v = scene.table->value(s, scene.cursor);
                if (v == kNoValue)
                    continue;
                const Axis &a = axes[static_cast<std::size_t>(s)];
                const double y = plot.bottom() - (v - a.lo) / (a.hi - a.lo) * plot.height();
                p.setPen(QPen(s == 0 ? kValue1Color : kValue2Color, 2));
                p.drawEllipse(QPointF(x, y), 4, 4);
            }
            const QString text = cursorText(*scene.table, scene.cursor);
            QRect box = fm.boundingRect(text).adjusted(-6, -3, 6, 3);
            box.moveTop(plot.top() + 6);
            box.moveLeft(std::clamp(static_cast<int>(x) + 8, plot.left() + 2, plot.right() - box.width() - 2));
            p.fillRect(box, QColor(255, 255, 225));
            p.setPen(QColor(60, 60, 60));
            p.drawRect(box);
            p.setPen(Qt::black);
            p.drawText(box, Qt::AlignCenter, text);
        }
    }
}

ChartPicture drawChartPicture(const ChartScene &scene, QSize size, bool vector)
{
    ChartPicture out;
    QPainter p;
    if (vector) {
        QBuffer buffer(&out.svg);
        buffer.open(QIODevice::WriteOnly);
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setTitle(QStringLiteral("Enregistrement Orvalin"));
        if (p.begin(&svg)) {
            paintChart(p, size, scene);
            p.end();
        }
        return out;
    }
    out.pixels = QImage(size, QImage::Format_RGB32);
    if (p.begin(&out.pixels)) {
        paintChart(p, size, scene);
        p.end();
    }
    return out;
}

QString writeChartPicture(const ChartPicture &picture, const QString &path)
{
    QSaveFile file(path);
    bool written = file.open(QIODevice::WriteOnly);
    if (written && !picture.svg.isEmpty())
        written = file.write(picture.svg) == picture.svg.size();
    else if (written)
        written = !picture.pixels.isNull() && picture.pixels.save(&file, "PNG");
    if (written && file.commit())
        return {};
    return QStringLiteral("impossible d'écrire le fichier (dossier absent, droits ou disque plein)");
}

QString saveChartPicture(const ChartScene &scene, QSize size, const QString &path)
{
    const bool vector = QFileInfo(path).suffix().compare(QLatin1String("svg"), Qt::CaseInsensitive) == 0;
    return writeChartPicture(drawChartPicture(scene, size, vector), path);
}

} // namespace orv
