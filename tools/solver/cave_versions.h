#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "cave/cave_map.h"
#include "tools/solver/macro_runner.h"

// The cave as play changed it along the ways the search follows, kept as a
// tree of versions: each is its parent with a few cells changed. Any version
// can be laid onto the map in a time that grows with the cells it changed.
// Each version also has a key made of the cells that tools changed (not the
// pickups): versions with the same key are the same cave for the way ahead.
class CaveVersions {
public:
    static constexpr std::int32_t Base = -1;  // the cave as the generator left it

    explicit CaveVersions(const CaveMap& base);

    // The version that is `parent` with `changes` made; `parent` itself when
    // there are none.
    std::int32_t Add(std::int32_t parent, const std::vector<CellChange>& changes);
    // Makes `map`, which holds the version laid last (at first the base),
    // that version.
    void Apply(std::int32_t version, CaveMap& map);

    std::uint64_t ToolKey(std::int32_t version) const { return version == Base ? 0 : versions_[version].toolKey; }
    std::size_t Bytes() const;

private:
    struct Version {
        std::int32_t parent;
        std::uint32_t begin;  // its changes in `changes_`
        std::uint32_t count;
        std::uint64_t toolKey;
    };
    bool ToolMade(std::uint16_t cell, std::uint8_t tile) const;
    CaveMap base_;
    std::vector<Version> versions_;
    std::vector<CellChange> changes_;

    std::int32_t applied_ = Base;
    std::vector<std::uint16_t> appliedCells_;  // the cells that differ from the base
    std::vector<std::uint32_t> stamp_;         // the round in which a cell was last laid
    std::uint32_t round_ = 0;
};
