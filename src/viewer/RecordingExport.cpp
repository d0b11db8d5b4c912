// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewer/RecordingExport.h"

#include "viewer/ChartPainter.h"

#include "recordings/XlsxExport.h"

#include <QFileInfo>

namespace orv {

ExportOutcome exportRecording(RecordingFiles &files, const QString &input, const QString &output, QSize size)
{
    ExportOutcome out;
    RecordingReader reader(files, input);
    const RecordingReader::Update read = reader.load();
    if (read.kind != RecordingReader::Update::Kind::Loaded) {
        out.failed = true;
        out.messages << readFailureText(input, read.error);
        return out;
    }
    if (const QString notes = describeNotes(read.notes); !notes.isEmpty())
        for (const QString &line : notes.split(u'\n'))
            out.messages << QStringLiteral("« %1 » : %2").arg(input, line);
    const SampleTable &table = *read.samples;
    QString failure;
    if (QFileInfo(output).suffix().compare(QLatin1String("xlsx"), Qt::CaseInsensitive) == 0) {
        failure = exportXlsx(table, output);
    } else {
        MinMaxIndex index;
        index.extend(table);
        ChartScene scene;
        scene.table = &table;
        scene.index = &index;
        scene.samples = {0, table.size()};
        std::tie(scene.from, scene.to) = wholeTimeRange(table, scene.samples);
        failure = saveChartPicture(scene, size, output);
    }
    if (!failure.isEmpty()) {
        out.failed = true;
        out.messages << QStringLiteral("Impossible d'écrire « %1 » : %2.").arg(output, failure);
    }
    return out;
}

} // namespace orv
