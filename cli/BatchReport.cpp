#include "cli/BatchReport.h"

#include "cli/CsvText.h"

TBatchReport::TBatchReport(const std::string& path)
{
    File.Bind(path);
    File.Create();
    WriteLine("File,Status,Peak frequency (Hz),Peak value");
}

TBatchReport::~TBatchReport()
{
    File.CloseQuietly();
}

void TBatchReport::Add(const TBatchItem& item)
{
    std::string line = CsvField(item.RecordingPath) + ",";
    if (item.Ok) {
        line += "ok," + std::to_string(BandLineFrequencyHz(item.PeakLine)) + "," +
                FormatSingle(item.PeakValue);
    } else {
        line += CsvField(item.ErrorText) + ",,";
    }
    WriteLine(line);
}

void TBatchReport::Close()
{
    File.Close();
}

void TBatchReport::WriteLine(const std::string& line)
{
    const std::string withEnd = line + "\n";
    File.WriteAll(withEnd.data(), withEnd.size());
}
