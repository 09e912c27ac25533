// StringList lives wholly in its header; this unit only checks that the header compiles on its own.
#include "corpus/string_list.h"
