#include "data/cotejo.h"

#include <unicode/ucol.h>

#include <sqlite3.h>

#include <algorithm>
#include <climits>
#include <cstring>

namespace cotejo {

namespace {

// One collator for the whole process, opened on first use (thread-safe static
// initialisation) and never closed: comparisons only read it, which ICU allows
// from any thread. Null when ICU cannot provide it.
const UCollator* colador() {
    static const UCollator* const unico = [] {
        UErrorCode estado = U_ZERO_ERROR;
        UCollator* c = ucol_open("es", &estado);
        if (U_FAILURE(estado))
            return static_cast<UCollator*>(nullptr);
        ucol_setStrength(c, UCOL_SECONDARY);
        // Precomposed and decomposed accents compare alike.
        ucol_setAttribute(c, UCOL_NORMALIZATION_MODE, UCOL_ON, &estado);
        if (U_FAILURE(estado)) {
            ucol_close(c);
            return static_cast<UCollator*>(nullptr);
        }
        return c;
    }();
    return unico;
}

int signo(UCollationResult r) {
    return r == UCOL_LESS ? -1 : r == UCOL_GREATER ? 1 : 0;
}

// Byte order, for what ICU cannot compare: no collator (connections then
// refuse to open) or a text over 2 GiB, which the engine never hands over.
int porBytes(const void* a, size_t na, const void* b, size_t nb) {
    const int r = std::memcmp(a, b, std::min(na, nb));
    return r != 0 ? r : (na < nb ? -1 : na > nb ? 1 : 0);
}

int compararSqlite(void*, int na, const void* a, int nb, const void* b) {
    return comparar({static_cast<const char*>(a), size_t(na)},
                    {static_cast<const char*>(b), size_t(nb)});
}

} // namespace

int comparar(std::string_view a, std::string_view b) {
    const UCollator* c = colador();
    if (!c || a.size() > INT32_MAX || b.size() > INT32_MAX)
        return porBytes(a.data(), a.size(), b.data(), b.size());
    UErrorCode estado = U_ZERO_ERROR;
    const UCollationResult r =
        ucol_strcollUTF8(c, a.data(), int32_t(a.size()), b.data(), int32_t(b.size()), &estado);
    if (U_FAILURE(estado))
        return porBytes(a.data(), a.size(), b.data(), b.size());
    return signo(r);
}

int compararUtf16(std::u16string_view a, std::u16string_view b) {
    const UCollator* c = colador();
    if (!c || a.size() > INT32_MAX || b.size() > INT32_MAX)
        return porBytes(a.data(), a.size() * 2, b.data(), b.size() * 2);
    return signo(ucol_strcoll(c, a.data(), int32_t(a.size()), b.data(), int32_t(b.size())));
}

bool registrar(sqlite3* bd) {
    // Without the collator the order would not be the one the indexes were
    // built with: better no connection than a corrupted index.
    if (!colador())
        return false;
    return sqlite3_create_collation_v2(bd, kNombre, SQLITE_UTF8, nullptr, compararSqlite,
                                       nullptr) == SQLITE_OK;
}

} // namespace cotejo
