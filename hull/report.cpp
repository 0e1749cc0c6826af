// The table row and the vertex lines.

#include "report.hpp"

namespace scatter_hull {

table_row row_of(const read_result& input, point_set& points)
{
    const std::vector<column> columns = points.columns();
    return {input.lines, input.bytes, points.repeats(), columns.size(), points.lines_on_ten(), hull_of(columns)};
}

std::string row_text(const table_row& row)
{
    std::string text = "|";
    for (const std::uint64_t count : {row.lines, row.bytes, row.repeats, row.x_values, row.on_ten,
             std::uint64_t{row.hull.vertices.size()}, row.hull.on_edges})
        text += ' ' + std::to_string(count) + " |";
    return text + ' ' + area_text(row.hull.twice_area) + " |\n";
}

std::string vertex_lines(const convex_hull& hull)
{
    std::string text;
    for (const vertex& v : hull.vertices)
        text += std::to_string(v.first_line) + ' ' + field_text(v.at.x, v.x_form) + ' ' + field_text(v.at.y, v.y_form)
            + '\n';
    return text;
}

}  // namespace scatter_hull
