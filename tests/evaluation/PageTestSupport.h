#pragma once

#include "evaluation/ChartLibrary.h"
#include "evaluation/ResultPages.h"
#include "evaluation/Scoring.h"
#include "project/Project.h"

#include <QImage>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

namespace ponderix::test {

// The blue of the pages' title bars and legend labels.
inline constexpr QRgb kHeader = qRgb(98, 116, 205);

// A project of `options` options, one criterion per importance given, each
// rating from `value(option, criterion)`; scored.
inline Project scoredProject(int options, const std::vector<int>& importances,
                             const std::function<int(int, int)>& value)
{
    Project project;
    for (int o = 0; o < options; ++o)
        project.appendOption(QStringLiteral("Option %1").arg(o + 1));
    for (std::size_t c = 0; c < importances.size(); ++c)
        project.appendCriterion(QStringLiteral("Criterion %1").arg(c + 1), importances[c]);
    for (int c = 0; c < static_cast<int>(importances.size()); ++c) {
        for (int o = 0; o < options; ++o)
            project.appendRating(o, c, QString(), value(o, c));
    }
    ComputeScores(project);
    return project;
}

// The chart component loaded into a private folder of its own, with the
// detail background beside it, as start-up leaves them.
class LoadedCharts {
public:
    LoadedCharts()
    {
        if (!m_folder.isValid())
            return;
        ChartLibrary::LoadResult result = ChartLibrary::load(m_folder.path());
        m_library = std::move(result.library);
        m_error = result.error;
        writeDetailBackground(m_folder.path());
    }
    const ChartLibrary* library() const { return m_library.get(); }
    QString folder() const { return m_folder.path(); }
    QString error() const { return m_error; }

private:
    QTemporaryDir m_folder;
    std::unique_ptr<ChartLibrary> m_library;
    QString m_error;
};

inline bool isBlack(QRgb pixel)
{
    return (pixel & 0xFFFFFF) == 0;
}

inline int channelDistance(QRgb a, QRgb b)
{
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
}

// Rows in [top, bottom) of the columns [left, right) holding a pixel within
// `tolerance` of `colour`, in order: where text of that colour was drawn.
inline std::vector<int> rowsWithColour(const QImage& image, QRect area, QRgb colour, int tolerance)
{
    std::vector<int> rows;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (channelDistance(image.pixel(x, y), colour) <= tolerance) {
                rows.push_back(y);
                break;
            }
        }
    }
    return rows;
}

inline bool allWhite(const QImage& image, QRect area)
{
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if ((image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF)
                return false;
        }
    }
    return true;
}

} // namespace ponderix::test
