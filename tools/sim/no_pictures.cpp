// The pictures of a build without a PNG writer: --png is refused.
#include "tools/sim/options.h"
#include "tools/sim/pictures.h"

namespace {
[[noreturn]] void Refuse() { throw UsageError("pictures are not written by this build of burrowkin-sim"); }
}  // namespace

Assets LoadPictures() { Refuse(); }
void WriteMapPicture(const CaveMap&, const Assets&, int, const std::string&) { Refuse(); }
void WriteWindowPicture(const Game&, const std::string&, bool) { Refuse(); }
