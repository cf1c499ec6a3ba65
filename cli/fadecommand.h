#pragma once

#include "fadeoptions.h"

#include <cstdio>

// Carries out a request; a preview image needs a QGuiApplication, everything
// else a QCoreApplication. Standard input is read only when the request has
// no text.
int runFadeRequest(const FadeRequest &request, std::FILE *in, std::FILE *out, std::FILE *err);
