#pragma once
// The drawing recorded for one page: an enhanced metafile. The engine keeps
// one metafile per document and records each page on a fresh canvas on it.
#include <memory>

#include "platform/emf/metafile.h"

namespace vs {

using TqxRecording = TMetafile;

// A new metafile of width × height pixels holding source's drawing played
// scaled into its whole area.
std::unique_ptr<TMetafile> ScaledRecording(const TMetafile& source, int width, int height);

}  // namespace vs
