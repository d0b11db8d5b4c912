// History and recording-file lines from any contents: values of every kind and size,
// any date and time texts, any sample count. The input also fills a store and drives
// the history list as the main window does (samples, restarts, jumps of the count);
// the list must always read as the full rebuild.
#include "FuzzChecks.h"
#include "FuzzSupport.h"

#include "core/SampleStore.h"
#include "core/Texts.h"
#include "display/History.h"

#include <QList>
#include <QTextDocument>

#include <memory>
#include <set>

namespace orv::fuzz {

namespace {

// Values at the edges of their types come often, the rest as the bytes say.
SlotValue anyValue(Bytes &in)
{
    switch (in.u8() % 4) {
    case 0:
        return SlotValue{};
    case 1:
        return SlotValue{static_cast<qint16>(in.u16())};
    case 2:
        return SlotValue{static_cast<qint32>(in.u32())};
    default: {
        static constexpr qint32 edges[] = {0, -1, 1, 999, 1000, -1000, 32767, -32768, 2147483647, -2147483647 - 1};
        return SlotValue{edges[in.u8() % std::size(edges)]};
    }
    }
}

// Any bytes, or (for the list, whose widget reads line ends itself) printable ASCII.
std::string anyText(Bytes &in, bool printable)
{
    QByteArray t = in.take(in.u8() % 13);
    if (printable)
        for (char &c : t)
            c = static_cast<char>(0x20 + static_cast<unsigned char>(c) % 0x5f);
    return t.toStdString();
}

void checkNumberStyles(qint64 v)
{
    const QByteArray n = QByteArray::number(v);
    require(decimalText(v).toLatin1() == n, "decimal text is not the plain number", n);

    const QString p = pattern000(v);
    const QString digits = v < 0 ? p.mid(1) : p;
    bool ok = false;
    const quint64 magnitude = digits.toULongLong(&ok);
    const quint64 expected = v < 0 ? 0 - static_cast<quint64>(v) : static_cast<quint64>(v);
    require(ok && magnitude == expected && digits.size() >= 3 && digits.at(0).isDigit()
                && (v < 0) == p.startsWith(QLatin1Char('-')),
            "#000 text does not read back", n + " -> " + show(p));

    const QString s = printStyle(v);
    require(s.endsWith(QLatin1Char(' ')) && s.at(0) == (v < 0 ? QLatin1Char('-') : QLatin1Char(' '))
                && s.trimmed().toLongLong() == v,
            "print style text does not read back", n + " -> " + show(s));
}

void checkRecordingLine(int n, const Sample &s)
{
    const QByteArray line = recordingLine(n, s);
    require(line.endsWith("\r\n"), "recording line without CR LF", line);
    require(line.startsWith(QByteArray::number(n) + ';'), "recording line does not start with its number", line);
    const QByteArray body = line.chopped(2);
    const QByteArray date = QByteArray::fromStdString(s.date);
    const QByteArray time = QByteArray::fromStdString(s.time);
    if (date.contains(';') || time.contains(';'))
        return;
    const QList<QByteArray> f = body.split(';');
    require(f.size() == 5, "recording line does not have five fields", line);
    for (int k = 1; k <= 2; ++k) {
        const SlotValue &v = k == 1 ? s.value1 : s.value2;
        if (holdsNothing(v)) {
            require(f[k].isEmpty(), "a slot holding nothing gave a non-empty field", line);
        } else {
            bool ok = false;
            require(f[k].toLongLong(&ok) == slotNumber(v) && ok && f[k] == QByteArray::number(slotNumber(v)),
                    "a value field does not read back", line);
        }
    }
    require(f[3] == date && f[4] == time, "date or time field changed on the way", line);
}

void checkHistoryLine(const Sample &s)
{
    const QString line = historyLine(s);
    auto cell = [](const SlotValue &v) {
        return holdsNothing(v) ? QStringLiteral("   ") : pattern000(slotNumber(v));
    };
    const QString expected = QLatin1Char(' ') + cell(s.value1) + QLatin1String(" -- ") + cell(s.value2)
        + QLatin1String(" --- ") + QLatin1String(s.date.c_str()) + QLatin1String(" -- ")
        + QLatin1String(s.time.c_str());
    require(line == expected, "history line is not the cells in their order", show(line));
}

// The whole list text: count + 1 lines, newest first, the zero sample last.
QString checkHistoryText(const SampleStore &store)
{
    const int count = store.count();
    const QString text = historyText(store);
    require(text.count(QStringLiteral("\r\n")) == count + 1, "history text does not have count + 1 lines");
    require(text.startsWith(historyLine(store.slot(count))), "the newest sample is not the first line");
    require(text.endsWith(historyLine(store.slot(0)) + QStringLiteral("\r\n")), "the zero sample is not the last line");
    return text;
}

struct Store {
    SampleStore store;
    std::set<int> touched;

    void reset()
    {
        for (int i : touched)
            store.slot(i) = Sample{};
        touched.clear();
        store.slot(0) = Sample{qint16(0), qint16(0), {}, {}};
        store.setCount(0);
    }
    Sample &write(int i)
    {
        touched.insert(i);
        return store.slot(i);
    }
};

} // namespace

void checkLines(const std::uint8_t *data, std::size_t size)
{
    // One store for the whole run: it is 32001 slots, and only touched ones are reset.
    static Store s;
    static QTextDocument document;
    static bool fullStoreSeen = false;
    s.reset();
    HistoryList list(&document);
    list.clear();
    Bytes in(data, size);

    checkNumberStyles(static_cast<qint64>(in.u64()));

    for (int step = 0; step < 64 && !in.empty(); ++step) {
        const std::uint8_t op = in.u8() % 4;
        if (op == 0) { // the next sample, as the sampling tick stores it, then affich
            if (s.store.full())
                continue;
            const int n = s.store.count() + 1;
            Sample &slot = s.write(n);
            slot = Sample{anyValue(in), anyValue(in), anyText(in, true), anyText(in, true)};
            s.store.setCount(static_cast<qint16>(n));
            list.update(s.store);
            require(list.text() == historyText(s.store), "the history list differs from its full rebuild");
        } else if (op == 1) { // a new recording: raz, count 0, old slots stay
            list.clear();
            s.store.setCount(0);
        } else if (op == 2) { // any contents, any number: the pure line functions
            const Sample any{anyValue(in), anyValue(in), anyText(in, false), anyText(in, false)};
            checkRecordingLine(static_cast<int>(in.u32()), any);
            checkHistoryLine(any);
            checkNumberStyles(slotNumber(any.value1));
        } else if (const std::uint16_t c = in.u16(); (c & 0xfff0) == 0xfff0 && !fullStoreSeen) {
            // The full store, once a run: 32001 lines are slow to build under the sanitizers,
            // and the fuzzer soon learns to ask for them in every input.
            fullStoreSeen = true;
            const int count = SampleStore::Capacity - (c & 0xf);
            s.store.setCount(static_cast<qint16>(count));
            checkHistoryText(s.store);
            s.store.setCount(0);
            list.clear();
        } else { // a count the list has not seen: it rebuilds
            s.store.setCount(static_cast<qint16>(c % 40));
            list.update(s.store);
            require(list.text() == checkHistoryText(s.store), "the history list differs from its full rebuild");
        }
    }
}

} // namespace orv::fuzz
