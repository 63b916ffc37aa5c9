#include "check/CheckErrorText.h"

// Here the readers are the program's own: their reasons say what went wrong.
CheckErrorStyle DefaultCheckErrorStyle()
{
    return CheckErrorStyle::ReaderReasons;
}
