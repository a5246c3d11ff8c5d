#include "bench/Summary.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace ponderix::bench {

namespace {

std::string formatted(const char* format, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string amount(const std::optional<double>& value, const std::string& unit)
{
    return value ? formatted("%.1f", *value) + " " + unit : std::string("-");
}

// Enough decimals that the ratio never reads as within its limit when it is
// over, or the other way round: "2.00x ... over" would look like a bug.
std::string ratioText(double ratio, double limit)
{
    for (int decimals = 2; decimals < 6; ++decimals) {
        const double scale = std::pow(10.0, decimals);
        if ((std::round(ratio * scale) / scale <= limit) == (ratio <= limit))
            return formatted(("%." + std::to_string(decimals) + "fx").c_str(), ratio);
    }
    return formatted("%.6fx", ratio);
}

// "1.5x", and "1.05x" where one decimal would round the limit.
std::string limitText(double limit)
{
    return formatted(std::round(limit * 10.0) == limit * 10.0 ? "%.1fx" : "%.2fx", limit);
}

const char* verdictText(Verdict verdict)
{
    switch (verdict) {
    case Verdict::Ok:
        return "ok";
    case Verdict::Over:
        return "over";
    case Verdict::NotMeasured:
        return "not measured";
    }
    return "";
}

} // namespace

std::optional<double> ratioOf(const Figure& figure)
{
    if (!figure.ours || !figure.baseline || *figure.baseline <= 0)
        return std::nullopt;
    return *figure.ours / *figure.baseline;
}

Verdict verdictOf(const Figure& figure)
{
    if (!figure.ours)
        return Verdict::NotMeasured;
    if (!figure.baseline)
        return *figure.ours <= figure.limit ? Verdict::Ok : Verdict::Over;
    const std::optional<double> ratio = ratioOf(figure);
    if (!ratio)
        return Verdict::NotMeasured;
    return *ratio <= figure.limit ? Verdict::Ok : Verdict::Over;
}

void printSummary(std::FILE* out, const std::vector<Figure>& figures)
{
    using Row = std::array<std::string, 6>;
    std::vector<Row> rows{{"figure", "ours", "baseline", "ratio", "limit", "verdict"}};
    for (const Figure& figure : figures) {
        const std::optional<double> ratio = ratioOf(figure);
        rows.push_back({figure.name, amount(figure.ours, figure.unit), amount(figure.baseline, figure.unit),
                        ratio ? ratioText(*ratio, figure.limit) : std::string("-"),
                        figure.baseline ? limitText(figure.limit) : amount(figure.limit, figure.unit),
                        verdictText(verdictOf(figure))});
    }
    std::array<std::size_t, 6> widths{};
    for (const Row& row : rows) {
        for (std::size_t column = 0; column < row.size(); ++column)
            widths[column] = std::max(widths[column], row[column].size());
    }
    std::fputc('\n', out);
    for (std::size_t line = 0; line < rows.size(); ++line) {
        for (std::size_t column = 0; column < widths.size(); ++column) {
            // Names read best left-aligned, figures right-aligned.
            const int width = static_cast<int>(widths[column]);
            std::fprintf(out, column == 0 ? "%-*s" : "  %*s", width, rows[line][column].c_str());
        }
        std::fputc('\n', out);
        if (line == 0) {
            std::size_t total = 0;
            for (const std::size_t width : widths)
                total += width + 2;
            std::fprintf(out, "%s\n", std::string(total - 2, '-').c_str());
        }
    }
}

} // namespace ponderix::bench
