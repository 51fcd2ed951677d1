#include "db/odbc/odbc_handles.h"

#include "db/error.h"

#include <array>

namespace dcf::db {

void throwOdbcError(SQLSMALLINT handleType, SQLHANDLE handle, const std::string& source,
                    const std::string& what) {
    std::array<SQLCHAR, 6> state{};
    SQLINTEGER native = 0;
    std::array<SQLCHAR, 2048> text{};
    SQLSMALLINT length = 0;
    std::string message;
    std::string sqlState = "HY000";
    long nativeCode = 0;
    for (SQLSMALLINT record = 1; record <= 3; ++record) {
        const SQLRETURN rc =
            SQLGetDiagRec(handleType, handle, record, state.data(), &native, text.data(),
                          static_cast<SQLSMALLINT>(text.size()), &length);
        if (rc != SQL_SUCCESS && rc != SQL_SUCCESS_WITH_INFO) {
            break;
        }
        if (record == 1) {
            sqlState = reinterpret_cast<const char*>(state.data());
            nativeCode = native;
        } else {
            message += "; ";
        }
        message += reinterpret_cast<const char*>(text.data());
    }
    if (message.empty()) {
        message = "The ODBC driver reported a failure without a message while " + what + ".";
    }
    throw DbError(sqlState, nativeCode, message, source);
}

bool connectionDead(SQLHDBC dbc) {
    SQLUINTEGER dead = SQL_CD_FALSE;
    return SQL_SUCCEEDED(SQLGetConnectAttr(dbc, SQL_ATTR_CONNECTION_DEAD, &dead, 0, nullptr)) &&
           dead == SQL_CD_TRUE;
}

void throwStatementError(SQLHSTMT stmt, SQLHDBC dbc, const std::string& source,
                         const std::string& what) {
    try {
        throwOdbcError(SQL_HANDLE_STMT, stmt, source, what);
    } catch (const DbError& error) {
        if (!error.connectionLost() && connectionDead(dbc)) {
            throw DbError("08S01", error.nativeCode(),
                          "The connection to the database was lost (" + error.message() + ").",
                          source);
        }
        throw;
    }
}

std::u16string toUtf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        char32_t cp = 0;
        std::size_t extra = 0;
        if (c < 0x80) {
            cp = c;
        } else if ((c & 0xE0) == 0xC0) {
            cp = c & 0x1Fu;
            extra = 1;
        } else if ((c & 0xF0) == 0xE0) {
            cp = c & 0x0Fu;
            extra = 2;
        } else {
            cp = c & 0x07u;
            extra = 3;
        }
        for (std::size_t k = 1; k <= extra && i + k < utf8.size(); ++k) {
            cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3Fu);
        }
        i += extra + 1;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
    }
    return out;
}

std::string toUtf8(const SQLWCHAR* text, std::size_t length) {
    std::string out;
    out.reserve(length);
    for (std::size_t i = 0; i < length; ++i) {
        char32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < length && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        }
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

} // namespace dcf::db
