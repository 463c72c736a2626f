#include "app/FormatWarning.h"

#include <QStringList>

#include <algorithm>

namespace {

// The Russian noun form that goes with count: one (1, 21, 101...), few
// (2-4, 22-24...) or many (0, 5-20, 25-30...).
QString Plural(qint64 count, const char* one, const char* few, const char* many)
{
    const qint64 lastTwo = count % 100;
    const qint64 last = count % 10;
    if (lastTwo >= 11 && lastTwo <= 14)
        return QString::fromUtf8(many);
    if (last == 1)
        return QString::fromUtf8(one);
    if (last >= 2 && last <= 4)
        return QString::fromUtf8(few);
    return QString::fromUtf8(many);
}

QString Counted(qint64 count, const char* one, const char* few, const char* many)
{
    return QString::number(count) + QLatin1Char(' ') + Plural(count, one, few, many);
}

} // namespace

QString DifferenceText(const TWavDifference& difference)
{
    const QString value = QString::number(difference.Value);
    switch (difference.Kind) {
    case TWavDifference::NotRiffWave: return QStringLiteral("не файл RIFF/WAVE");
    case TWavDifference::NoFormatChunk: return QStringLiteral("нет блока fmt");
    case TWavDifference::Channels: return Counted(difference.Value, "канал", "канала", "каналов");
    case TWavDifference::RateHz: return value + QStringLiteral(" Гц");
    case TWavDifference::PcmBits: return value + QStringLiteral(" бит PCM");
    case TWavDifference::FloatSamples: return value + QStringLiteral(" бит с плавающей точкой");
    case TWavDifference::OtherFormat: return QStringLiteral("формат ") + value;
    case TWavDifference::ChunkPastEnd:
        return QStringLiteral("блок с байта ") + value + QStringLiteral(" выходит за конец файла");
    case TWavDifference::NoDataChunk:
        return QStringLiteral("нет блока data в первых ") + QString::number(WavHeaderWindow) +
               QStringLiteral(" байтах");
    case TWavDifference::DataOffset: return QStringLiteral("отсчёты с байта ") + value;
    case TWavDifference::ShortData:
        return QStringLiteral("только ") + Counted(difference.Value, "байт", "байта", "байт") +
               QStringLiteral(" отсчётов");
    }
    return {};
}

QString FormatWarningText(const std::vector<TNonconformingRecording>& recordings)
{
    const auto count = static_cast<qint64>(recordings.size());
    QString text = Counted(count, "запись", "записи", "записей") +
                   QStringLiteral(" не в ожидаемом формате (1 канал, 51200 Гц, 16 бит PCM, отсчёты с байта 44) и ") +
                   Plural(count, "обработана", "обработаны", "обработаны") +
                   QStringLiteral(" как простой поток отсчётов:\n");
    const auto named = std::min<qint64>(count, FormatWarningNamed);
    for (qint64 k = 0; k < named; ++k) {
        const TNonconformingRecording& recording = recordings[static_cast<std::size_t>(k)];
        QStringList differences;
        for (const TWavDifference& difference : recording.Differences)
            differences << DifferenceText(difference);
        text += QLatin1Char('\n') + recording.FileName + QStringLiteral(": ") + differences.join(QStringLiteral(", "));
    }
    if (count > named)
        text += QStringLiteral("\nи ещё ") + Counted(count - named, "запись", "записи", "записей");
    return text;
}
