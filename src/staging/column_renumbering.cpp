#include "staging/column_renumbering.h"

#include "db/key_snapshot.h"

namespace dcf::staging {
namespace {

constexpr std::ptrdiff_t kWaiting = -1;
constexpr std::ptrdiff_t kDone = -2;

std::int64_t moveAll(db::Connection& db, const ColumnMove& move, const std::string& from,
                     const std::string& to) {
    if (from == to) {
        if (move.keep.empty()) {
            return 0;
        }
        db::Statement& keep = db.statement(move.keep);
        keep.run(from, move.types);
        return keep.rowsAffected();
    }
    db::Statement& update = db.statement(move.moveAll);
    update.run(to, from, move.types);
    return update.rowsAffected();
}

} // namespace

void Renumbering::add(const std::string& from, const std::string& to) {
    if (byFrom_.emplace(from, pairs_.size()).second) {
        pairs_.emplace_back(from, to);
    }
}

const std::string* Renumbering::find(const std::string& from) const {
    const auto found = byFrom_.find(from);
    return found == byFrom_.end() ? nullptr : &pairs_[found->second].second;
}

void Renumbering::chainFrom(std::size_t first, std::vector<std::ptrdiff_t>& state,
                            std::vector<std::size_t>& chain, std::ptrdiff_t& ringStart) const {
    chain.assign(1, first);
    state[first] = 0;
    ringStart = -1;
    std::size_t current = first;
    while (true) {
        // The pair whose rows hold the number `current` is about to write.
        const auto next = byFrom_.find(pairs_[current].second);
        if (next == byFrom_.end() || next->second == current || state[next->second] == kDone) {
            return;
        }
        if (state[next->second] >= 0) {
            ringStart = state[next->second];
            return;
        }
        state[next->second] = static_cast<std::ptrdiff_t>(chain.size());
        chain.push_back(next->second);
        current = next->second;
    }
}

void Renumbering::apply(db::Connection& db, const ColumnMove& move, const Moved& moved) const {
    // Per pair: kWaiting, kDone, or its place in the chain being walked.
    std::vector<std::ptrdiff_t> state(pairs_.size(), kWaiting);
    std::vector<std::size_t> chain;
    const auto moveAt = [&](std::size_t k) {
        const auto& [from, to] = pairs_[chain[k]];
        const std::int64_t rows = moveAll(db, move, from, to);
        if (moved) {
            moved(to, rows);
        }
    };
    for (std::size_t i = 0; i < pairs_.size(); ++i) {
        if (state[i] == kDone) {
            continue;
        }
        std::ptrdiff_t ringStart = -1;
        chainFrom(i, state, chain, ringStart);
        if (ringStart < 0) {
            for (std::size_t k = chain.size(); k-- > 0;) {
                moveAt(k);
            }
        } else {
            // The ring's first number lets go of its rows by key, so the
            // number behind it can take its place.
            const auto start = static_cast<std::size_t>(ringStart);
            const auto& [from, to] = pairs_[chain[start]];
            const db::KeySnapshot held(db, move.selectKeys, from, move.types);
            for (std::size_t k = chain.size(); k-- > start + 1;) {
                moveAt(k);
            }
            for (const std::int64_t key : held) {
                db.statement(move.moveOne).run(to, key);
            }
            if (moved) {
                moved(to, static_cast<std::int64_t>(held.size()));
            }
            for (std::size_t k = start; k-- > 0;) {
                moveAt(k);
            }
        }
        for (const std::size_t k : chain) {
            state[k] = kDone;
        }
    }
}

} // namespace dcf::staging
