// Native stand-in for a dynamic library the program carries in its
// resources: natively the library's code is linked into the program and its
// functions are exported from it, and the resource holds only this
// signature. Loading a file that holds exactly the signature yields the
// program itself, where the functions are found by their exported names.
#pragma once

namespace zel::os {

constexpr char kLinkedLibrarySignature[] = "zel: library linked into the program\n";

}  // namespace zel::os
