// The host's plug-in interface, all of it.
#pragma once

#include "fmx/BinaryData.h"
#include "fmx/Data.h"
#include "fmx/DataVect.h"
#include "fmx/Engine.h"
#include "fmx/Exceptions.h"
#include "fmx/ExprEnv.h"
#include "fmx/ExternCall.h"
#include "fmx/FixPt.h"
#include "fmx/Locale.h"
#include "fmx/QuadChar.h"
#include "fmx/Text.h"
#include "fmx/Types.h"
