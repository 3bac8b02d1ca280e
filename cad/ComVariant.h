// Conversion between the portable Variant and COM's VARIANT and SAFEARRAY.
#pragma once

#include <ole2.h>

#include <functional>

#include "cad/Automation.h"
#include "cad/ComPtr.h"
#include "cad/ComScoped.h"

// Gives the IDispatch for an object that is not already a COM object (a
// server exposing its own DispatchObjects supplies one).
using DispatchExporter = std::function<ComPtr<IDispatch>(const DispatchPtr&)>;

// Empty, the missing marker (VT_ERROR DISP_E_PARAMNOTFOUND), VT_BOOL, VT_I2,
// VT_I4, VT_I8, VT_R8, VT_BSTR, VT_DISPATCH, one-dimensional arrays with
// their lower bound, and by-reference variants (VT_BYREF|VT_VARIANT owning
// their referent). Array elements are stored by value. A ComDispatchObject
// gives back its own IDispatch; other objects need the exporter.
// Throws AutomationError (type mismatch) for what has no VARIANT form.
ScopedVariant ToComVariant(const Variant& value, const DispatchExporter& exporter = {});

// The other way, for results and for arguments a server receives.
// VT_BYREF|VT_VARIANT becomes a by-reference Variant, other references
// are read through; unsigned and smaller integers widen to the next
// signed kind, VT_R4, VT_DATE, VT_CY and VT_DECIMAL become doubles,
// VT_NULL becomes empty, VT_DISPATCH a ComDispatchObject. Anything else,
// arrays of more than one dimension included, throws a type mismatch.
Variant FromComVariant(const VARIANT& value);
