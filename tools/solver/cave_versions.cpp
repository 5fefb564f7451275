#include "tools/solver/cave_versions.h"

#include "tools/solver/mix.h"

CaveVersions::CaveVersions(const CaveMap& base) : base_(base), stamp_(256 * 256, 0) {}

// Whether a cell holding `tile` is the work of a tool: a pickup is not.
bool CaveVersions::ToolMade(std::uint16_t cell, std::uint8_t tile) const
{
    const std::uint8_t was = base_[cell >> 8][cell & 255];
    if (tile == was) return false;
    const std::uint8_t k = ClassOf(was);
    return !(tile == TileEmpty && (k == ClassItem || k == ClassTreasure));
}

std::int32_t CaveVersions::Add(std::int32_t parent, const std::vector<CellChange>& changes)
{
    if (changes.empty()) return parent;
    std::uint64_t key = ToolKey(parent);
    for (const CellChange& c : changes) {
        if (ToolMade(c.cell, c.before)) key ^= Mix(std::uint64_t(c.cell) << 8 | c.before);
        if (ToolMade(c.cell, c.after)) key ^= Mix(std::uint64_t(c.cell) << 8 | c.after);
    }
    versions_.push_back({parent, std::uint32_t(changes_.size()), std::uint32_t(changes.size()), key});
    changes_.insert(changes_.end(), changes.begin(), changes.end());
    return std::int32_t(versions_.size() - 1);
}

void CaveVersions::Apply(std::int32_t version, CaveMap& map)
{
    if (version == applied_) return;
    for (std::uint16_t cell : appliedCells_) map[cell >> 8][cell & 255] = base_[cell >> 8][cell & 255];
    appliedCells_.clear();
    ++round_;
    // Newest changes first; an older change to the same cell is out of date.
    for (std::int32_t v = version; v != Base; v = versions_[v].parent) {
        const Version& here = versions_[v];
        for (std::uint32_t k = here.begin; k < here.begin + here.count; ++k) {
            const CellChange& c = changes_[k];
            if (stamp_[c.cell] == round_) continue;
            stamp_[c.cell] = round_;
            map[c.cell >> 8][c.cell & 255] = c.after;
            appliedCells_.push_back(c.cell);
        }
    }
    applied_ = version;
}

std::size_t CaveVersions::Bytes() const
{
    return versions_.capacity() * sizeof(Version) + changes_.capacity() * sizeof(CellChange) +
           stamp_.capacity() * sizeof(std::uint32_t) + appliedCells_.capacity() * sizeof(std::uint16_t);
}
