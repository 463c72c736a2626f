// tulvo-cli report, run in-process by its drawing helper's code on a synthetic production line:
// the table is check's (or compare's) for the same units, the bytes do not depend on the threads,
// and outputs that would overwrite an input, or a mask that cannot be read, write nothing.

#include "ToolRun.h"

#include "tests/support/FileBytes.h"
#include "tests/support/RecordingFixtures.h"
#include "tests/support/TTempFolder.h"

#include "cli/ExitStatus.h"
#include "cli/plot/ReportDrawing.h"
#include "core/files/FileHandles.h"
#include "core/platform/FileStatus.h"
#include "core/qc/CheckTable.h"
#include "plot/RunReportDocument.h"

#include <QRegularExpression>
#include <QtTest>

#include <algorithm>

using namespace clitest;
using namespace testsupport;

namespace {

// 12 good units of one line and three faulty ones (a narrow tone at 4500 Hz, the upper resonance
// at 7600 Hz, a click of 6000 Hz), as recordings and spectrum files; a mask of averages learned
// from the good spectrum files, one of max-hold spectra from the good recordings.
class TLine {
public:
    TLine()
    {
        std::vector<std::string> words = {"batch", "--quiet"};
        for (int i = 1; i <= 12; ++i) {
            words.push_back(Write("good" + std::to_string(i), TLineUnit{static_cast<std::uint32_t>(i)}));
        }
        words.push_back(Write("tone", TLineUnit{31, 6800.0, 4500.0, 115.0}));
        words.push_back(Write("shifted", TLineUnit{32, 7600.0}));
        words.push_back(Write("click", TLineUnit{35, 6800.0, 0.0, 0.0, 6000.0, 700.0}));
        QCOMPARE(RunToolInProcess(words).Status, ExitOk);
        std::vector<std::string> mask = {"mask", "-o", File("mask.csv")};
        std::vector<std::string> maxHold = {"mask", "--max-hold", "-o", File("max-hold.csv")};
        for (int i = 1; i <= 12; ++i) {
            mask.push_back(File("good" + std::to_string(i) + ".spm"));
            maxHold.push_back(File("good" + std::to_string(i) + ".wav"));
        }
        QCOMPARE(RunToolInProcess(mask).Status, ExitOk);
        QCOMPARE(RunToolInProcess(maxHold).Status, ExitOk);
    }

    std::string File(const std::string& name) const { return folder_.File(name); }

private:
    std::string Write(const std::string& name, const TLineUnit& unit)
    {
        WriteRecording(File(name + ".wav"), LineUnitSamples(unit));
        return File(name + ".wav");
    }

    TTempFolder folder_;
};

// What the helper's report wrote on stdout and stderr, and its status.
TToolRun RunReport(const std::vector<std::string>& words)
{
    const TTempFolder folder;
    TToolContext context;
    context.Out = CreateOrTruncate(folder.File("stdout"));
    context.Err = CreateOrTruncate(folder.File("stderr"));
    TToolRun run;
    run.Status = RunReportHelper(words, context);
    Platform::CloseFileQuietly(context.Out);
    Platform::CloseFileQuietly(context.Err);
    const auto out = ReadBytes(folder.File("stdout"));
    const auto err = ReadBytes(folder.File("stderr"));
    run.Out.assign(out.begin(), out.end());
    run.Err.assign(err.begin(), err.end());
    return run;
}

QString Unescaped(QString text)
{
    return text.replace(QLatin1String("&lt;"), QLatin1String("<"))
        .replace(QLatin1String("&gt;"), QLatin1String(">"))
        .replace(QLatin1String("&quot;"), QLatin1String("\""))
        .replace(QLatin1String("&#39;"), QLatin1String("'"))
        .replace(QLatin1String("&amp;"), QLatin1String("&"));
}

// The cells of each row of a document's units table (header first), unescaped; a cell that spans
// columns is followed by empty ones.
std::vector<QStringList> TableRows(const std::string& html)
{
    std::vector<QStringList> rows;
    QString text = QString::fromStdString(html);
    text = text.mid(text.indexOf(QLatin1String("<table class=\"units\">")));
    text.truncate(text.indexOf(QLatin1String("</table>")));
    const QRegularExpression row(QStringLiteral("<tr>(<t[hd].*?)</tr>"));
    const QRegularExpression cell(QStringLiteral("<t[hd][^>]*?(?: colspan=\"(\\d+)\")?>(.*?)</t[hd]>"));
    for (const auto& r : row.globalMatch(text)) {
        QStringList cells;
        for (const auto& c : cell.globalMatch(r.captured(1))) {
            cells << Unescaped(c.captured(2));
            for (int k = 1; k < c.captured(1).toInt(); ++k) {
                cells << QString();
            }
        }
        rows.push_back(cells);
    }
    return rows;
}

} // namespace

class ReportCommandTest : public QObject {
    Q_OBJECT

private slots:
    void tableIsChecksForTheSameUnits_data();
    void tableIsChecksForTheSameUnits();
    void sameBytesWhateverTheThreads();
    void withoutMaskRankedAgainstTheMedian();
    void refusedWritesNothing_data();
    void refusedWritesNothing();
    void digestsAreSha256_data();
    void digestsAreSha256();
};

// clang-format off
void ReportCommandTest::tableIsChecksForTheSameUnits_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QStringList>("units"); // the fourth becomes a copy of the third under a hostile name
    QTest::addColumn<QString>("kind");
    QTest::newRow("average") << "mask.csv"
        << QStringList{"good3.spm", "shifted.wav", "tone.spm", "missing.spm", "good7.wav"} << "average";
    QTest::newRow("max-hold") << "max-hold.csv"
        << QStringList{"good3.wav", "shifted.wav", "click.wav", "missing.wav", "good7.wav"} << "max-hold";
}
// clang-format on

// Every row of check's table is a row of the report's (its unit's digest added): failing units
// first, the smallest margin on top, then the unit not read, then the good ones; the messages on
// stderr and the status are check's, for a mask of either kind.
void ReportCommandTest::tableIsChecksForTheSameUnits()
{
    QFETCH(QString, mask);
    QFETCH(QStringList, units);
    QFETCH(QString, kind);
    const TLine line;
    // '<' and '>' cannot stand in a Windows name; core's tests escape them.
    const std::string hostile = line.File("a&b 'i'." + units[2].section(QLatin1Char('.'), 1).toStdString());
    WriteBytes(hostile, ReadBytes(line.File(units[2].toStdString())));
    std::vector<std::string> words{"--mask", line.File(mask.toStdString())};
    for (const QString& unit : units) {
        words.push_back(line.File(unit.toStdString()));
    }
    words[4] = hostile;
    std::vector<std::string> checkWords{"check"};
    checkWords.insert(checkWords.end(), words.begin(), words.end());
    const TToolRun check = RunToolInProcess(checkWords);
    words.insert(words.end(), {"-o", "-", "--charts", "1"});
    const TToolRun report = RunReport(words);
    QCOMPARE(report.Status, check.Status);
    QCOMPARE(report.Status, ExitFailure);
    QCOMPARE(report.Err, check.Err);

    const std::vector<QStringList> rows = TableRows(report.Out);
    QCOMPARE(rows.size(), static_cast<std::size_t>(units.size() + 1));
    QStringList checkRows = QString::fromStdString(check.Out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QStringList reportRows;
    for (QStringList cells : rows) {
        const QString digest = cells.takeLast();
        reportRows << cells.join(QLatin1Char(','));
        if (cells[0] == QString::fromStdString(hostile)) {
            const auto bytes = ReadBytes(hostile);
            QCOMPARE(digest.toStdString(), DigestOf(std::string(bytes.begin(), bytes.end())));
        }
    }
    // The header's words are check's; the rows hold the same fields.
    QCOMPARE(reportRows.takeFirst(), QString::fromLatin1(CheckTableHeader.data(), CheckTableHeader.size()));
    checkRows.removeFirst();
    QStringList sorted = reportRows;
    sorted.sort();
    checkRows.sort();
    QCOMPARE(sorted, checkRows);
    // The order of a look: 0 failing (by margin), 1 not read, 2 good.
    const auto place = [](const QString& row) {
        return row.contains(QLatin1String(",differs,")) ? 0 : row.contains(QLatin1String(",ok,")) ? 2 : 1;
    };
    QCOMPARE(place(reportRows[1]), 0);
    for (qsizetype k = 1; k < reportRows.size(); ++k) {
        QVERIFY(place(reportRows[k - 1]) <= place(reportRows[k]));
        if (place(reportRows[k]) == 0) {
            QVERIFY(reportRows[k - 1].split(QLatin1Char(','))[4].toDouble() <=
                    reportRows[k].split(QLatin1Char(','))[4].toDouble());
        }
    }
    QVERIFY(report.Out.find("a&amp;b &#39;i&#39;.") != std::string::npos);
    QVERIFY(report.Out.find("<td>" + kind.toStdString() + "</td>") != std::string::npos);
    // One chart (--charts 1) and the heatmap.
    QCOMPARE(QString::fromStdString(report.Out).count(QLatin1String("<img ")), 2);
}

// The workers' count changes nothing, nor does a second run; a file holds what "-o -" writes.
void ReportCommandTest::sameBytesWhateverTheThreads()
{
    const TLine line;
    std::vector<std::string> words{"--mask", line.File("mask.csv"), "--lang", "ru", "-o", "-"};
    for (const char* unit : {"tone.wav", "good1.wav", "shifted.spm", "good2.wav", "good3.spm", "good4.wav"}) {
        words.push_back(line.File(unit));
    }
    words.push_back("--jobs=1");
    const TToolRun one = RunReport(words);
    words.back() = "--jobs=3";
    QCOMPARE(RunReport(words).Out, one.Out);
    words[5] = line.File("report.html");
    QCOMPARE(RunReport(words).Status, ExitFailure);
    const auto written = ReadBytes(line.File("report.html"));
    QCOMPARE(std::string(written.begin(), written.end()), one.Out);
}

// Without a mask: compare's columns against the units' median spectrum, the most distant first,
// no verdict; exit 0 when every unit is read.
void ReportCommandTest::withoutMaskRankedAgainstTheMedian()
{
    const TLine line;
    std::vector<std::string> words{"-o", "-"};
    for (const char* unit : {"good1.spm", "good2.spm", "shifted.spm", "good3.wav", "good4.spm"}) {
        words.push_back(line.File(unit));
    }
    const TToolRun report = RunReport(words);
    QCOMPARE(report.Status, ExitOk);
    const std::vector<QStringList> rows = TableRows(report.Out);
    QCOMPARE(rows.front().join(QLatin1Char(',')),
             QStringLiteral("File,Peak (Hz),Peak shift (Hz),Centroid (Hz),Correlation,Distance (dB),Max deviation "
                            "(dB),Max deviation at (Hz),SHA-256"));
    QCOMPARE(rows[1][0].toStdString(), line.File("shifted.spm"));
    for (std::size_t k = 2; k < rows.size(); ++k) {
        QVERIFY(rows[k - 1][5].toDouble() >= rows[k][5].toDouble());
    }
    QVERIFY(report.Out.find(">differs<") == std::string::npos && report.Out.find(">ok<") == std::string::npos);
}

// clang-format off
void ReportCommandTest::refusedWritesNothing_data()
{
    QTest::addColumn<QString>("output"); // a file of the line
    QTest::addColumn<QString>("mask");
    QTest::addColumn<int>("status");
    QTest::newRow("output is the mask") << "mask.csv" << "mask.csv" << ExitUsage;
    QTest::newRow("output is a unit") << "good1.spm" << "mask.csv" << ExitUsage;
    QTest::newRow("mask cannot be read") << "report.html" << "good1.spm" << ExitFailure;
    QTest::newRow("spectrum file against max-hold") << "report.html" << "max-hold.csv" << ExitUsage;
}
// clang-format on

void ReportCommandTest::refusedWritesNothing()
{
    QFETCH(QString, output);
    QFETCH(QString, mask);
    QFETCH(int, status);
    const TLine line;
    const std::string out = line.File(output.toStdString());
    const std::vector<std::uint8_t> before = Platform::StatusOf(out) ? ReadBytes(out) : std::vector<std::uint8_t>();
    const TToolRun run = RunReport({"--mask", line.File(mask.toStdString()), "-o", out, line.File("good1.spm")});
    QCOMPARE(run.Status, status);
    QVERIFY(!run.Err.empty());
    QCOMPARE(Platform::StatusOf(out) ? ReadBytes(out) : std::vector<std::uint8_t>(), before);
}

void ReportCommandTest::digestsAreSha256_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("digest"); // FIPS 180-2's examples, the first 16 hex digits
    QTest::newRow("abc") << QByteArray("abc") << "ba7816bf8f01cfea";
    QTest::newRow("empty") << QByteArray() << "e3b0c44298fc1c14";
    QTest::newRow("two blocks") << QByteArray("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq")
                                << "248d6a61d20638b8";
}

// The digest of a file is of all its bytes, also beyond a read buffer; a file that cannot be
// read has none.
void ReportCommandTest::digestsAreSha256()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, digest);
    const TTempFolder folder;
    QCOMPARE(QString::fromStdString(DigestOf(std::string_view(bytes.constData(), bytes.size()))), digest);
    QByteArray large;
    for (int k = 0; k < 5000; ++k) {
        large += bytes;
    }
    WriteBytes(folder.File("f"), std::vector<std::uint8_t>(large.begin(), large.end()));
    QCOMPARE(FileDigest(folder.File("f")), DigestOf(std::string_view(large.constData(), large.size())));
    QCOMPARE(FileDigest(folder.File("missing")), std::string());
}

QTEST_MAIN(ReportCommandTest)
#include "ReportCommandTest.moc"
