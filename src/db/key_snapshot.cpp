#include "db/key_snapshot.h"

namespace dcf::db {

void KeySnapshot::load(Cursor& rows) {
    while (rows.next()) {
        keys_.push_back(rows.row().integer(rows.row().columnName(0)));
    }
}

} // namespace dcf::db
