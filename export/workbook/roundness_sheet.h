#pragma once

#include "export/roundness/roundness_row.h"
#include "export/workbook/workbook_file.h"
#include "host/number_text.h"

#include <string>
#include <vector>

namespace kastrel::exporter {

// The sheets "Rundheit" (one row per evaluated feature block, A..N, and a
// polar plot of its form beside the table for the first ones) and "Diagrammdaten" (the plots'
// coordinates). Both sheets are made when the workbook is begun, so that they follow "Messpunkte";
// write() fills them once the run is over.
class RoundnessSheets {
public:
    static constexpr std::size_t max_charts = 50;

    explicit RoundnessSheets(WorkbookFile& workbook);

    // `numbers` words the numbers in the charts' titles. Throws FileError.
    void write(const std::vector<RoundnessRow>& rows, const host::NumberTexts& numbers);

private:
    WorkbookFile& workbook_;
    lxw_worksheet* table_;
    lxw_worksheet* data_;
};

} // namespace kastrel::exporter
