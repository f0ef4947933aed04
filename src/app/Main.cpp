#include "app/Main.h"

int Main()
{
    return 0;
}
