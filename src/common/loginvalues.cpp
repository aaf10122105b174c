#include "loginvalues.h"

LoginValues &login()
{
    static LoginValues values;
    return values;
}
