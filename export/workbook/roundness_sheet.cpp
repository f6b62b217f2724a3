#include "export/workbook/roundness_sheet.h"

#include "export/roundness/plot_title.h"
#include "export/roundness/polar_plot.h"
#include "export/workbook/xml_text.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

namespace kastrel::exporter {
namespace {

constexpr std::array<double, roundness_columns> column_widths = {14, 7,  8,  12, 12, 13, 17,
                                                                 12, 11, 13, 13, 11, 11, 10};

// The charts stand to the right of the table, one below the other, after
// an empty column.
constexpr lxw_col_t chart_column = roundness_columns + 1;
constexpr lxw_row_t rows_per_chart = 23;
// Chart size in pixels: the plot area, between the title above and the
// margins, comes out square in Excel and LibreOffice alike.
constexpr double chart_width = 400;
constexpr double chart_height = 440;
constexpr double default_chart_width = 480;
constexpr double default_chart_height = 288;
// The library places a chart by the cells it spans, counting Excel's default
// row height and column width; spreadsheets whose defaults differ
// (LibreOffice's rows are lower) would squeeze it. Rows and columns under
// the charts are therefore given those sizes explicitly.
constexpr double row_height = 15;
constexpr double column_width = 8.43;
constexpr lxw_col_t chart_columns = 8;

// Columns of one plot's block on "Diagrammdaten": x and y of each line.
enum PlotColumn : lxw_col_t {
    form_x,
    form_y,
    circle_x,
    circle_y,
    inner_x,
    inner_y,
    outer_x,
    outer_y
};
constexpr std::array<const char*, 8> plot_titles = {"Form X",  "Form Y",  "Kreis X", "Kreis Y",
                                                    "Innen X", "Innen Y", "Außen X", "Außen Y"};

// Where one plot's lines stand on "Diagrammdaten".
struct PlotRows {
    lxw_row_t first = 0; // the first coordinate row
    PolarPlot plot;
};

void write_number(lxw_worksheet* sheet, lxw_row_t row, lxw_col_t col, double value,
                  lxw_format* format) {
    check(worksheet_write_number(sheet, row, col, value, format));
}

void add_line(lxw_chart* chart, lxw_row_t first, lxw_row_t last, lxw_col_t x, const char* name,
              lxw_chart_line line) {
    lxw_chart_series* series = chart_add_series(chart, nullptr, nullptr);
    if (!series)
        check(LXW_ERROR_MEMORY_MALLOC_FAILED);
    chart_series_set_categories(series, "Diagrammdaten", first, x, last, x);
    chart_series_set_values(series, "Diagrammdaten", first, x + 1, last, x + 1);
    chart_series_set_name(series, name);
    chart_series_set_line(series, &line);
}

// Axes that only scale: no line, ticks, numbers or grid; the same range on
// both, so that a round form looks round.
void scale_only(lxw_chart_axis* axis, double extent) {
    chart_axis_set_min(axis, -extent);
    chart_axis_set_max(axis, extent);
    chart_axis_set_label_position(axis, LXW_CHART_AXIS_LABEL_POSITION_NONE);
    chart_axis_set_major_tick_mark(axis, LXW_CHART_AXIS_TICK_MARK_NONE);
    chart_axis_major_gridlines_set_visible(axis, LXW_FALSE);
    lxw_chart_line none{};
    none.none = LXW_TRUE;
    chart_axis_set_line(axis, &none);
}

} // namespace

RoundnessSheets::RoundnessSheets(WorkbookFile& workbook)
    : workbook_(workbook), table_(workbook.add_sheet("Rundheit")),
      data_(workbook.add_sheet("Diagrammdaten")) {}

void RoundnessSheets::write(const std::vector<RoundnessRow>& rows,
                            const host::NumberTexts& numbers) {
    lxw_format* bold = workbook_.bold_format();
    lxw_format* four = workbook_.number_format("0.0000");
    check(worksheet_set_row(table_, 0, row_height, nullptr));
    for (lxw_col_t col = 0; col < roundness_columns; ++col) {
        write_text(table_, 0, col, roundness_titles[col], bold);
        check(worksheet_set_column(table_, col, col, column_widths[col], nullptr));
    }
    check(worksheet_set_column(table_, chart_column, chart_column + chart_columns - 1, column_width,
                               nullptr));
    worksheet_freeze_panes(table_, 1, 0);
    if (rows.empty())
        return;

    lxw_row_t row = 1;
    for (const RoundnessRow& evaluated : rows) {
        check(worksheet_set_row(table_, row, row_height, nullptr));
        for (lxw_col_t col = 0; col < roundness_columns; ++col) {
            const RoundnessCell cell = evaluated.cell(col);
            if (const auto* text = std::get_if<std::string>(&cell))
                write_text(table_, row, col, *text);
            else if (const auto* number = std::get_if<double>(&cell))
                // The count as it is, the lengths with four decimals.
                write_number(table_, row, col, *number, col == 2 ? nullptr : four);
        }
        ++row;
    }

    // The plots' coordinates, block under block, and their charts.
    std::size_t charts = 0;
    lxw_row_t data_row = 0;
    std::size_t circles = 0;
    for (const RoundnessRow& plotted : rows) {
        if (!plotted.circle)
            continue;
        if (++circles > max_charts)
            continue;
        PlotRows plot_rows{data_row + 2, polar_plot(*plotted.circle, plotted.hits)};
        write_text(data_, data_row, 0, plotted.id, bold);
        for (lxw_col_t col = 0; col < plot_titles.size(); ++col)
            write_text(data_, data_row + 1, col, plot_titles[col]);
        const PolarPlot& plot = plot_rows.plot;
        const std::array<const std::vector<PlanePoint>*, 4> lines = {&plot.form, &plot.circle,
                                                                     &plot.inner, &plot.outer};
        std::size_t length = 0;
        for (const auto* line : lines)
            length = std::max(length, line->size());
        for (std::size_t k = 0; k < length; ++k)
            for (std::size_t l = 0; l < lines.size(); ++l)
                if (k < lines[l]->size()) {
                    const auto r = static_cast<lxw_row_t>(plot_rows.first + k);
                    const auto x = static_cast<lxw_col_t>(2 * l);
                    write_number(data_, r, x, (*lines[l])[k].first, nullptr);
                    write_number(data_, r, x + 1, (*lines[l])[k].second, nullptr);
                }

        lxw_chart* chart = workbook_add_chart(workbook_.get(), LXW_CHART_SCATTER_STRAIGHT);
        if (!chart)
            check(LXW_ERROR_MEMORY_MALLOC_FAILED);
        const std::string title =
            plot_title(plotted.id, plotted.circle->roundness(), plot.magnification, numbers);
        chart_title_set_name(chart, plain_xml_text(title).c_str());
        lxw_chart_font title_font{};
        title_font.size = 10;
        title_font.bold = LXW_EXPLICIT_FALSE;
        chart_title_set_name_font(chart, &title_font);
        chart_legend_set_position(chart, LXW_CHART_LEGEND_NONE);
        scale_only(chart->x_axis, plot.extent);
        scale_only(chart->y_axis, plot.extent);

        const auto last = [&](const std::vector<PlanePoint>& line) {
            return static_cast<lxw_row_t>(plot_rows.first + line.size() - 1);
        };
        lxw_chart_line zone{};
        zone.color = 0xC00000;
        zone.width = 0.5;
        zone.dash_type = LXW_CHART_LINE_DASH_DASH;
        add_line(chart, plot_rows.first, last(plot.inner), inner_x, "Innen", zone);
        add_line(chart, plot_rows.first, last(plot.outer), outer_x, "Außen", zone);
        lxw_chart_line reference{};
        reference.color = 0x808080;
        reference.width = 0.75;
        add_line(chart, plot_rows.first, last(plot.circle), circle_x, "Kreis", reference);
        lxw_chart_line form{};
        form.color = 0x1F4E79;
        form.width = 1.75;
        add_line(chart, plot_rows.first, last(plot.form), form_x, "Form", form);

        lxw_chart_options placement{};
        placement.x_scale = chart_width / default_chart_width;
        placement.y_scale = chart_height / default_chart_height;
        check(worksheet_insert_chart_opt(table_,
                                         static_cast<lxw_row_t>(charts * rows_per_chart) + 1,
                                         chart_column, chart, &placement));
        ++charts;
        data_row = static_cast<lxw_row_t>(plot_rows.first + length + 1);
    }
    const lxw_row_t note = row + 1;
    const lxw_row_t last_chart_row = static_cast<lxw_row_t>(charts * rows_per_chart) + 1;
    for (; row <= std::max(note, last_chart_row); ++row) {
        check(worksheet_set_row(table_, row, row_height, nullptr));
        if (row == note && circles > max_charts)
            write_text(table_, row, 0,
                       "Diagramme nur für die ersten " + std::to_string(max_charts) +
                           " Merkmale mit Kreis; für die weiteren wird keines gezeichnet.");
    }
}

} // namespace kastrel::exporter
