// mdbtools' header opens an extern "C" block before it includes glib, whose
// C++ parts must not be inside it: glib goes first.
#pragma once

#include <glib.h>
#include <mdbtools.h>
