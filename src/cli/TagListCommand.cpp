#include "cli/Zolt.h"

namespace cli {

int TagListCommand(Context& ctx, const std::vector<std::string>&) {
    ctx.err << "zolt: taglist is not available in this build\n";
    return 2;
}

} // namespace cli
