#include "project/Project.h"

#include <algorithm>
#include <utility>

namespace ponderix {

int clampImportance(int importance)
{
    return std::clamp(importance, kImportanceMin, kImportanceMax);
}

int clampValue(int value)
{
    return std::clamp(value, kValueMin, kValueMax);
}

void Project::clear()
{
    m_ratings.clear();
    m_criteria.clear();
    m_options.clear();
    invalidateLookup();
}

Option& Project::appendOption(const QString& name)
{
    invalidateLookup();
    return m_options.emplace_back(Option{optionCount(), name, 0});
}

Criterion& Project::appendCriterion(const QString& name, int importance)
{
    invalidateLookup();
    return m_criteria.emplace_back(Criterion{criterionCount(), name, clampImportance(importance)});
}

Rating& Project::appendRating(int optionIndex, int criterionIndex, const QString& comment, int value)
{
    invalidateLookup();
    return m_ratings.emplace_back(Rating{optionIndex, criterionIndex, comment, clampValue(value)});
}

AddRefusal Project::optionAdditionRefusal() const
{
    if (optionCount() >= kOptionLimit)
        return AddRefusal::OptionLimit;
    if (cellCount(optionCount(), criterionCount()) > kRatingLimit - criterionCount())
        return AddRefusal::CellLimit;
    return AddRefusal::None;
}

AddRefusal Project::criterionAdditionRefusal() const
{
    if (criterionCount() >= kCriterionLimit)
        return AddRefusal::CriterionLimit;
    if (cellCount(criterionCount(), optionCount()) > kRatingLimit - optionCount())
        return AddRefusal::CellLimit;
    return AddRefusal::None;
}

AddRefusal Project::addOption(const QString& name)
{
    const AddRefusal refusal = optionAdditionRefusal();
    if (refusal != AddRefusal::None)
        return refusal;
    const int index = appendOption(name).Index;
    for (const Criterion& criterion : m_criteria)
        appendRating(index, criterion.Index, QString(), kNeutralValue);
    return AddRefusal::None;
}

AddRefusal Project::addCriterion(const QString& name)
{
    const AddRefusal refusal = criterionAdditionRefusal();
    if (refusal != AddRefusal::None)
        return refusal;
    const int index = appendCriterion(name, kImportanceOfNewCriterion).Index;
    for (const Option& option : m_options)
        appendRating(option.Index, index, QString(), kNeutralValue);
    return AddRefusal::None;
}

namespace {

// Takes the ratings of the deleted entry out, with their places in the list,
// and closes the gap it leaves in the numbering.
template <typename IndexOf> TakenRatings takeAndRenumber(std::vector<Rating>& ratings, int deleted, IndexOf indexOf)
{
    TakenRatings taken;
    std::size_t kept = 0;
    for (std::size_t position = 0; position < ratings.size(); ++position) {
        Rating& rating = ratings[position];
        if (indexOf(rating) == deleted) {
            taken.positions.push_back(position);
            taken.ratings.push_back(std::move(rating));
            continue;
        }
        if (indexOf(rating) > deleted)
            --indexOf(rating);
        if (kept != position)
            ratings[kept] = std::move(rating);
        ++kept;
    }
    ratings.resize(kept);
    return taken;
}

// The reverse: opens the gap in the numbering again and puts every taken
// rating back at its old place.
template <typename IndexOf>
void putBackAndRenumber(std::vector<Rating>& ratings, int restored, TakenRatings taken, IndexOf indexOf)
{
    for (Rating& rating : ratings) {
        if (indexOf(rating) >= restored)
            ++indexOf(rating);
    }
    std::vector<Rating> merged;
    merged.reserve(ratings.size() + taken.ratings.size());
    auto kept = ratings.begin();
    for (std::size_t next = 0; next < taken.ratings.size(); ++next) {
        while (merged.size() < taken.positions[next] && kept != ratings.end())
            merged.push_back(std::move(*kept++));
        merged.push_back(std::move(taken.ratings[next]));
    }
    while (kept != ratings.end())
        merged.push_back(std::move(*kept++));
    ratings = std::move(merged);
}

template <typename Entry> void renumber(std::vector<Entry>& entries)
{
    for (std::size_t position = 0; position < entries.size(); ++position)
        entries[position].Index = static_cast<int>(position);
}

int& optionOf(Rating& rating)
{
    return rating.IndexOption;
}

int& criterionOf(Rating& rating)
{
    return rating.IndexCriteria;
}

} // namespace

void Project::deleteOption(int index)
{
    takeOption(index);
}

void Project::deleteCriterion(int index)
{
    takeCriterion(index);
}

std::optional<TakenOption> Project::takeOption(int index)
{
    if (index < 0 || index >= optionCount())
        return std::nullopt;
    TakenOption taken{std::move(m_options[static_cast<std::size_t>(index)]), {}};
    m_options.erase(m_options.begin() + index);
    renumber(m_options);
    taken.ratings = takeAndRenumber(m_ratings, index, optionOf);
    invalidateLookup();
    return taken;
}

std::optional<TakenCriterion> Project::takeCriterion(int index)
{
    if (index < 0 || index >= criterionCount())
        return std::nullopt;
    TakenCriterion taken{std::move(m_criteria[static_cast<std::size_t>(index)]), {}};
    m_criteria.erase(m_criteria.begin() + index);
    renumber(m_criteria);
    taken.ratings = takeAndRenumber(m_ratings, index, criterionOf);
    invalidateLookup();
    return taken;
}

void Project::restoreOption(TakenOption taken)
{
    const int index = std::clamp(taken.option.Index, 0, optionCount());
    m_options.insert(m_options.begin() + index, std::move(taken.option));
    renumber(m_options);
    putBackAndRenumber(m_ratings, index, std::move(taken.ratings), optionOf);
    invalidateLookup();
}

void Project::restoreCriterion(TakenCriterion taken)
{
    const int index = std::clamp(taken.criterion.Index, 0, criterionCount());
    m_criteria.insert(m_criteria.begin() + index, std::move(taken.criterion));
    renumber(m_criteria);
    putBackAndRenumber(m_ratings, index, std::move(taken.ratings), criterionOf);
    invalidateLookup();
}

namespace {

int neighbourOf(int index, MoveDirection direction, int count)
{
    const int partner = direction == MoveDirection::Backward ? index - 1 : index + 1;
    if (index < 0 || index >= count || partner < 0 || partner >= count)
        return -1;
    return partner;
}

} // namespace

void Project::swapRatings(int optionA, int criterionA, int optionB, int criterionB)
{
    Rating* first = findRating(optionA, criterionA);
    Rating* second = findRating(optionB, criterionB);
    if (!first || !second)
        return;
    std::swap(first->Value, second->Value);
    std::swap(first->Comment, second->Comment);
}

bool Project::moveOption(int index, MoveDirection direction)
{
    const int partner = neighbourOf(index, direction, optionCount());
    if (partner < 0)
        return false;
    // The letters belong to the columns: only the contents change places.
    std::swap(m_options[index].Name, m_options[partner].Name);
    for (const Criterion& criterion : m_criteria)
        swapRatings(index, criterion.Index, partner, criterion.Index);
    return true;
}

bool Project::moveCriterion(int index, MoveDirection direction)
{
    const int partner = neighbourOf(index, direction, criterionCount());
    if (partner < 0)
        return false;
    std::swap(m_criteria[index].Name, m_criteria[partner].Name);
    std::swap(m_criteria[index].Importance, m_criteria[partner].Importance);
    for (const Option& option : m_options)
        swapRatings(option.Index, index, option.Index, partner);
    return true;
}

void Project::setOptionName(int index, const QString& name)
{
    if (index >= 0 && index < optionCount())
        m_options[index].Name = name;
}

void Project::setCriterionName(int index, const QString& name)
{
    if (index >= 0 && index < criterionCount())
        m_criteria[index].Name = name;
}

void Project::setImportance(int index, int importance)
{
    if (index >= 0 && index < criterionCount())
        m_criteria[index].Importance = clampImportance(importance);
}

void Project::setValue(int optionIndex, int criterionIndex, int value)
{
    if (Rating* rating = findRating(optionIndex, criterionIndex))
        rating->Value = clampValue(value);
}

void Project::setComment(int optionIndex, int criterionIndex, const QString& comment)
{
    if (Rating* rating = findRating(optionIndex, criterionIndex))
        rating->Comment = comment;
}

void Project::setScore(int optionIndex, int score)
{
    if (optionIndex >= 0 && optionIndex < optionCount())
        m_options[optionIndex].score = score;
}

void Project::buildLookup() const
{
    const auto cells = static_cast<std::size_t>(cellCount(optionCount(), criterionCount()));
    m_lookup.assign(cells, -1);
    for (std::size_t position = 0; position < m_ratings.size(); ++position) {
        const Rating& rating = m_ratings[position];
        if (rating.IndexOption < 0 || rating.IndexOption >= optionCount() || rating.IndexCriteria < 0
            || rating.IndexCriteria >= criterionCount())
            continue;
        const auto cell = static_cast<std::size_t>(rating.IndexCriteria) * m_options.size()
                          + static_cast<std::size_t>(rating.IndexOption);
        if (m_lookup[cell] < 0)
            m_lookup[cell] = static_cast<int>(position);
    }
    m_lookupValid = true;
}

const Rating* Project::ratingOf(int optionIndex, int criterionIndex) const
{
    if (optionIndex < 0 || optionIndex >= optionCount() || criterionIndex < 0 || criterionIndex >= criterionCount())
        return nullptr;
    if (!m_lookupValid)
        buildLookup();
    const int position =
        m_lookup[static_cast<std::size_t>(criterionIndex) * m_options.size() + static_cast<std::size_t>(optionIndex)];
    return position < 0 ? nullptr : &m_ratings[static_cast<std::size_t>(position)];
}

Rating* Project::findRating(int optionIndex, int criterionIndex)
{
    return const_cast<Rating*>(std::as_const(*this).ratingOf(optionIndex, criterionIndex));
}

void Project::regularise()
{
    const auto optionTotal = m_options.size();
    const auto cells = static_cast<std::size_t>(cellCount(optionCount(), criterionCount()));
    std::vector<int> kept(cells, -1); // position in `regular` per cell
    std::vector<Rating> regular;
    // Every pair ends with exactly one rating. Reserving for all of them at
    // once matters for a sparse file: growing by doubling to ten million
    // filled-in ratings would briefly hold half as many again.
    regular.reserve(cells);
    for (Rating& rating : m_ratings) {
        if (rating.IndexOption < 0 || rating.IndexOption >= optionCount() || rating.IndexCriteria < 0
            || rating.IndexCriteria >= criterionCount())
            continue;
        const auto cell =
            static_cast<std::size_t>(rating.IndexCriteria) * optionTotal + static_cast<std::size_t>(rating.IndexOption);
        if (kept[cell] >= 0) {
            Rating& earlier = regular[static_cast<std::size_t>(kept[cell])];
            earlier.Value = rating.Value;
            earlier.Comment = std::move(rating.Comment);
            continue;
        }
        kept[cell] = static_cast<int>(regular.size());
        regular.push_back(std::move(rating));
    }
    for (std::size_t cell = 0; cell < cells; ++cell) {
        if (kept[cell] < 0)
            regular.push_back(Rating{static_cast<int>(cell % optionTotal), static_cast<int>(cell / optionTotal),
                                     QString(), kNeutralValue});
    }
    m_ratings = std::move(regular);
    invalidateLookup();
}

} // namespace ponderix
