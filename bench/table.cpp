// SPDX-License-Identifier: MIT
#include "table.h"

#include <algorithm>
#include <cstdio>

namespace bench {

void Table::timed(const std::string &operation, long files, double seconds,
    const std::vector<Against> &against, bool frameAtAnySize)
{
    Line line { operation, files, milliseconds(seconds), {}, seconds };
    for (const Against &a : against) {
        const double ratio = seconds / a.seconds;
        std::string target;
        if (a.limit > 0 && files >= Million)
            target = verdict(format("<= %gx", a.limit).c_str(), ratio <= a.limit);
        line.comparisons.push_back({ a.reference, format("%.2fx", ratio), target });
    }
    if (files <= 10000 || frameAtAnySize) {
        if (line.comparisons.empty())
            line.comparisons.push_back({});
        line.comparisons.front().target = verdict("< 16 ms", seconds < Frame);
    }
    add(std::move(line));
}

void Table::stall(
    const std::string &operation, long files, double seconds, double limit, double waited)
{
    Line line { "stall: " + operation, files, milliseconds(seconds), { {} }, seconds };
    if (waited >= 0)
        line.comparisons.front() = { "of it, waiting for a core", milliseconds(waited), "" };
    if (files >= Million)
        line.comparisons.front().target
            = verdict(format("<= %.0f ms", limit * 1000).c_str(), seconds <= limit);
    add(std::move(line));
}

void Table::growth(long from, long to, double limit)
{
    std::vector<Line> grown;
    for (const Line &line : m_lines) {
        if (line.files != to || line.value <= 0 || line.operation.rfind("reference", 0) == 0)
            continue;
        for (const Line &before : m_lines) {
            if (before.files != from || before.operation != line.operation || before.value <= 0)
                continue;
            const double times = line.value / before.value;
            grown.push_back({ "growth: " + line.operation, to, format("%.1fx", times),
                { { format("%ld files", from), before.median,
                    verdict(format("<= %gx", limit).c_str(), times <= limit) } } });
        }
    }
    for (Line &line : grown)
        add(std::move(line));
}

void Table::print() const
{
    std::vector<std::vector<std::string>> cells;
    cells.push_back({ "operation", "files", "median", "reference", "ratio", "target" });
    for (const Line &line : m_lines) {
        const std::string files = std::to_string(line.files);
        if (line.comparisons.empty())
            cells.push_back({ line.operation, files, line.median, "", "", "" });
        for (size_t i = 0; i < line.comparisons.size(); ++i) {
            const Comparison &c = line.comparisons[i];
            cells.push_back({ i ? "" : line.operation, i ? "" : files, i ? "" : line.median,
                c.reference, c.ratio, c.target });
        }
    }
    std::vector<size_t> width(6, 0);
    for (const auto &row : cells)
        for (size_t c = 0; c < row.size(); ++c)
            width[c] = std::max(width[c], displayWidth(row[c]));
    for (size_t r = 0; r < cells.size(); ++r) {
        std::string text;
        for (size_t c = 0; c < cells[r].size(); ++c) {
            const std::string &cell = cells[r][c];
            const std::string pad(width[c] - displayWidth(cell), ' ');
            // Numbers right-aligned, words left-aligned.
            text += (c == 1 || c == 2 || c == 4) ? pad + cell : cell + pad;
            if (c + 1 < cells[r].size())
                text += "  ";
        }
        while (!text.empty() && text.back() == ' ')
            text.pop_back();
        std::printf("%s\n", text.c_str());
        if (r == 0)
            std::printf("%s\n", std::string(text.size(), '-').c_str());
    }
    std::fflush(stdout);
}

size_t Table::displayWidth(const std::string &s)
{
    return size_t(std::count_if(s.begin(), s.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

} // namespace bench
