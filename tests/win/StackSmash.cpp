// Started by RuntimeSupportTest with the program's stack guard: with an
// argument it writes past a stack buffer, so its return must not happen.
#include <cstring>

namespace {

__attribute__((noinline)) void Fill(char* pOut, size_t nCount) {
    std::memset(pOut, 'A', nCount);
}

} // namespace

int main(int argc, char**) {
    char buf[8];
    Fill(buf, argc > 1 ? 64 : sizeof(buf));
    return buf[0] == 'A' ? 0 : 1;
}
