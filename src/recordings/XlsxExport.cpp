// SPDX-License-Identifier: GPL-3.0-or-later
#include "recordings/XlsxExport.h"

#include <QFile>

#include <xlsxwriter.h>

#include <memory>

namespace orv {

namespace {

// Rows of a sheet, its header included.
constexpr qsizetype kRowsPerSheet = 1'048'576;

struct Formats {
    lxw_format *heading = nullptr;
    lxw_format *dateTime = nullptr;
    lxw_format *mean = nullptr;
};

void headings(lxw_worksheet *sheet, const Formats &f, std::initializer_list<const char *> names)
{
    lxw_col_t col = 0;
    for (const char *name : names)
        worksheet_write_string(sheet, 0, col++, name, f.heading);
    worksheet_freeze_panes(sheet, 1, 0);
}

void writeValue(lxw_worksheet *sheet, lxw_row_t row, lxw_col_t col, qint32 v, lxw_format *format = nullptr)
{
    if (v != kNoValue)
        worksheet_write_number(sheet, row, col, v, format);
}

} // namespace

double spreadsheetDate(WallSeconds t)
{
    return static_cast<double>(t) / 86400.0 + 25569.0;
}

QString exportXlsx(const SampleTable &table, const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE; // rows go to a temporary file as they are written
    std::unique_ptr<lxw_workbook, void (*)(lxw_workbook *)> book(workbook_new_opt(name.constData(), &options),
                                                                 [](lxw_workbook *b) {
                                                                     if (b)
                                                                         workbook_close(b);
                                                                 });
    if (!book)
        return QStringLiteral("le classeur n'a pas pu être préparé (mémoire ou dossier temporaire)");
    Formats f;
    f.heading = workbook_add_format(book.get());
    format_set_bold(f.heading);
    f.dateTime = workbook_add_format(book.get());
    format_set_num_format(f.dateTime, "dd/mm/yyyy hh:mm:ss");
    f.mean = workbook_add_format(book.get());
    format_set_num_format(f.mean, "0.00");

    lxw_worksheet *summary = workbook_add_worksheet(book.get(), "Résumé");
    worksheet_set_column(summary, 0, 0, 16, nullptr);
    worksheet_set_column(summary, 1, 2, 20, f.dateTime);
    worksheet_set_column(summary, 3, 9, 11, nullptr);
    headings(summary, f,
             {"Enregistrement", "Début", "Fin", "Mesures", "Valeur 1 min", "Valeur 1 moyenne", "Valeur 1 max",
              "Valeur 2 min", "Valeur 2 moyenne", "Valeur 2 max"});
    const auto &spans = table.recordings();
    for (std::size_t r = 0; r < spans.size(); ++r) {
        const SpanSummary s = summarize(table, spans[r]);
        const auto row = static_cast<lxw_row_t>(r + 1);
        worksheet_write_number(summary, row, 0, static_cast<double>(r + 1), nullptr);
        worksheet_write_number(summary, row, 1, spreadsheetDate(s.start), f.dateTime);
        worksheet_write_number(summary, row, 2, spreadsheetDate(s.end), f.dateTime);
        worksheet_write_number(summary, row, 3, static_cast<double>(s.count), nullptr);
        for (int k = 0; k < 2; ++k) {
            const SeriesSummary &v = s.series[static_cast<std::size_t>(k)];
            if (v.measured == 0)
                continue;
            const auto col = static_cast<lxw_col_t>(4 + 3 * k);
            writeValue(summary, row, col, v.min);
            worksheet_write_number(summary, row, col + 1, v.mean, f.mean);
            writeValue(summary, row, col + 2, v.max);
        }
    }

    for (std::size_t r = 0; r < spans.size(); ++r) {
        // A recording longer than a sheet goes on in the next one.
        for (qsizetype from = spans[r].first, part = 1; from < spans[r].end(); ++part) {
            QString title = QStringLiteral("Enregistrement %1").arg(r + 1);
            if (part > 1)
                title += QStringLiteral(" (suite %1)").arg(part);
            lxw_worksheet *sheet = workbook_add_worksheet(book.get(), title.toUtf8().constData());
            worksheet_set_column(sheet, 0, 0, 20, f.dateTime);
            worksheet_set_column(sheet, 1, 2, 10, nullptr);
            headings(sheet, f, {"Date et heure", "Valeur 1", "Valeur 2"});
            const qsizetype to = std::min(spans[r].end(), from + kRowsPerSheet - 1);
            for (qsizetype i = from; i < to; ++i) {
                const auto row = static_cast<lxw_row_t>(i - from + 1);
                worksheet_write_number(sheet, row, 0, spreadsheetDate(table.time(i)), f.dateTime);
                writeValue(sheet, row, 1, table.value(0, i));
                writeValue(sheet, row, 2, table.value(1, i));
            }
            from = to;
        }
    }
    const lxw_error result = workbook_close(book.release());
    if (result == LXW_NO_ERROR)
        return {};
    if (result == LXW_ERROR_CREATING_XLSX_FILE || result == LXW_ERROR_CREATING_TMPFILE)
        return QStringLiteral("impossible d'écrire le fichier (dossier absent, droits ou disque plein)");
    return QStringLiteral("erreur de l'écriture du classeur (%1)").arg(QString::fromUtf8(lxw_strerror(result)));
}

} // namespace orv
