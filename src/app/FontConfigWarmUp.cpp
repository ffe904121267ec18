#include "app/FontConfigWarmUp.h"

#include <dlfcn.h>

CFontConfigWarmUp::CFontConfigWarmUp()
{
    using FcInitFunction = int (*)();
    if (auto init = reinterpret_cast<FcInitFunction>(dlsym(RTLD_DEFAULT, "FcInit")))
        m_thread = std::jthread(init);
}

void CFontConfigWarmUp::Wait()
{
    if (m_thread.joinable())
        m_thread.join();
}
