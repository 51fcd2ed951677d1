#include "db/key_snapshot.h"

namespace dcf::db {

void KeySnapshot::load(Statement& query) {
    while (query.next()) {
        keys_.push_back(query.integer(query.columnName(0)));
    }
    query.reset();
}

} // namespace dcf::db
