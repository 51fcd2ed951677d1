#pragma once

#include <string>

namespace dcf::run {

// The rows a run on a server copies in to its scratch database before any
// step reads them: a filer's row and its stored names, each filer once, the
// first time the run meets the filer's id.
class ServerRows {
public:
    virtual ~ServerRows() = default;
    virtual void copyFiler(const std::string& filerId) = 0;

protected:
    ServerRows() = default;
    ServerRows(const ServerRows&) = default;
    ServerRows& operator=(const ServerRows&) = default;
};

} // namespace dcf::run
