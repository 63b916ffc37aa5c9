#include "check/CheckErrorText.h"

// Users of this system know its indexing service; the message names it.
CheckErrorStyle DefaultCheckErrorStyle()
{
    return CheckErrorStyle::IndexingServiceHint;
}
