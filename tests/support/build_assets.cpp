#include "tests/support/build_assets.h"

#include <cstdlib>

const Assets& BuildTreeAssets()
{
    static const Assets art = [] {
        const char* dir = std::getenv("BURROWKIN_DATA_DIR");
        return LoadAssets(dir && *dir ? dir : BURROWKIN_BUILD_DATA_DIR);
    }();
    return art;
}
