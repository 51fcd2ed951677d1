#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace dcf::names {

// The file's name numbers and the ids they become: the n-th NAME record in
// staging order gets the n-th id drawn. A file names its records with plain
// numbers, so those are kept as numbers, sixteen bytes each, which a million
// names fit in; any other text is kept as it is.
class NameIdMap {
public:
    explicit NameIdMap(std::int64_t firstId) : firstId_(firstId) {}

    // The next NAME record's number. The first record of a number decides.
    void add(const std::string& fileNumber);
    // Call once every record was added, before find.
    void seal();

    [[nodiscard]] bool empty() const { return added_ == 0; }
    // The id of the record with this number, or nothing.
    [[nodiscard]] std::optional<std::string> find(std::string_view fileNumber) const;

private:
    std::int64_t firstId_;
    std::int64_t added_ = 0;
    // (number, place in staging order), sorted by number once sealed.
    std::vector<std::pair<std::int64_t, std::int64_t>> numbers_;
    std::unordered_map<std::string, std::int64_t> others_;
};

} // namespace dcf::names
