/* The code of the fixture libraries that exist only for their resources. A library needs at
   least one function to be a well-formed module. */
#include <windows.h>

__declspec(dllexport) int WINAPI FixtureLibraryMarker(void) { return 1; }
