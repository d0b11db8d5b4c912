#include "History.h"

#include "core/Texts.h"

#include <QTextCursor>
#include <QTextDocument>

namespace orv {

namespace {
QString valueCell(const std::optional<qint32> &v)
{
    return v ? zeroPadded3(*v) : QStringLiteral("   ");
}
} // namespace

QString historyLine(const Sample &s)
{
    QString line;
    line.reserve(48);
    line += QLatin1Char(' ');
    line += valueCell(s.value1);
    line += QLatin1String(" -- ");
    line += valueCell(s.value2);
    line += QLatin1String(" --- ");
    line += s.dateText();
    line += QLatin1String(" -- ");
    line += s.timeText();
    return line;
}

QString historyText(const SampleStore &store)
{
    QString text;
    text.reserve((store.count() + 1) * 42);
    for (int i = store.count(); i >= 0; --i) {
        text += historyLine(store.at(i));
        text += QLatin1String("\r\n");
    }
    return text;
}

HistoryList::HistoryList(QTextDocument *document) : m_doc(document)
{
    // An undo history of every inserted line would grow for the whole recording.
    m_doc->setUndoRedoEnabled(false);
}

void HistoryList::clear()
{
    m_doc->clear();
    m_shownCount = -1;
}

void HistoryList::update(const SampleStore &store)
{
    const int count = store.count();
    if (m_shownCount >= 0 && count == m_shownCount + 1) {
        QTextCursor cursor(m_doc);
        cursor.movePosition(QTextCursor::Start);
        cursor.insertText(historyLine(store.at(count)) + QLatin1Char('\n'));
        m_shownCount = count;
        return;
    }
    rebuild(store);
}

void HistoryList::rebuild(const SampleStore &store)
{
    QString text;
    text.reserve((store.count() + 1) * 42);
    for (int i = store.count(); i >= 0; --i) {
        text += historyLine(store.at(i));
        text += QLatin1Char('\n');
    }
    m_doc->setPlainText(text);
    m_shownCount = store.count();
}

QString HistoryList::text() const
{
    QString t = m_doc->toPlainText();
    t.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return t;
}

} // namespace orv
