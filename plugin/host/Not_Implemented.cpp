#include "host/Functions.h"

namespace brelka {

fmx::errcode Brelka_ProgressDialog(fmx::int16, const fmx::ExprEnv&, const fmx::DataVect&, fmx::Data&) { return 0; }
fmx::errcode Brelka_SetCalculation(fmx::int16, const fmx::ExprEnv&, const fmx::DataVect&, fmx::Data&) { return 0; }

}  // namespace brelka
