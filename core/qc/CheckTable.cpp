#include "core/qc/CheckTable.h"

#include "core/base/CsvText.h"

std::string CheckTableHeaderLine() { return std::string(CheckTableHeader) + "\n"; }

std::string CheckTableRow(std::string_view file, const TMaskVerdict& verdict)
{
    std::string row = CsvField(file);
    row += verdict.Ok ? ",ok," : ",differs,";
    row += std::to_string(verdict.Outside);
    row += ',';
    if (verdict.WorstLine) {
        row += std::to_string(BandLineFrequencyHz(*verdict.WorstLine));
    }
    row += ',';
    row += FormatFixed(verdict.WorstMarginDb, 3);
    row += ',';
    if (verdict.LevelDbfs) {
        row += FormatFixed(*verdict.LevelDbfs, 3);
    }
    row += ',';
    if (verdict.LevelMarginDb) {
        row += FormatFixed(*verdict.LevelMarginDb, 3);
    }
    return row + "\n";
}

std::string CheckTableFailureRow(std::string_view file, std::string_view failureText)
{
    return CsvField(file) + "," + CsvField(failureText) + ",,,,,\n";
}
