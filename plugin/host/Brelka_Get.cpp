#include "host/Functions.h"

namespace brelka {

fmx::errcode Brelka_Get(fmx::int16, const fmx::ExprEnv&, const fmx::DataVect&, fmx::Data&) { return 0; }

}  // namespace brelka
