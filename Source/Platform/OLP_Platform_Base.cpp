#include "OLP_Platform_Base.h"

#include "OLP_Platform_Linux.h"

OLP_Platform_Base* platform()
{
    static OLP_Platform_Base* const thePlatform = new OLP_Platform_Linux;
    return thePlatform;
}
