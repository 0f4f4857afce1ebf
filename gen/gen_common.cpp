// Helpers shared by the generators.
#include "gen/gen_common.h"

#include <cstdlib>
#include <ctime>

void seedCRuntime()
{
    std::srand(static_cast<unsigned>(std::time(nullptr)));
}
