#pragma once

namespace quorvex {

// Oracle's client takes its character set from NLS_LANG and, without one, works in 7-bit ASCII:
// non-ASCII names and values that pass through it narrow would turn into "?". When NLS_LANG is
// unset (or empty), this sets it to AMERICAN_AMERICA.AL32UTF8 in the program's own environment;
// a value the user set stays. The client reads it when it loads, so call it before any ODBC call.
void PrepareOracleClientEnvironment();

}  // namespace quorvex
