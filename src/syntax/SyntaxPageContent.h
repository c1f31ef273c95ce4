#pragma once

#include "connection/SyntaxEntries.h"
#include "syntax/SyntaxCategory.h"

class SyntaxSource;

// The entries one Syntax Dictionary page lists, in order, each with its
// description: the syntax and description lists of the result are equally long.
class SyntaxPageContent {
public:
    // Reads `source` (which may run column queries); no source gives no entries.
    static SyntaxList Build(SyntaxCategory category, SyntaxSource *source);
    // `list` with "No description" for every entry past the end of its descriptions.
    static SyntaxList Described(SyntaxList list);
};
