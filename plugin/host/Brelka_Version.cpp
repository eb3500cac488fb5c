#include "host/Functions.h"

namespace brelka {

fmx::errcode Brelka_Version(fmx::int16, const fmx::ExprEnv&, const fmx::DataVect&, fmx::Data&) { return 0; }

}  // namespace brelka
