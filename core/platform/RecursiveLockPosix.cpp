#include "core/IRecursiveLock.h"

#include <new>
#include <pthread.h>

static_assert(sizeof(pthread_mutex_t) <= 64);

namespace
{
pthread_mutex_t& Mutex(unsigned char* storage)
{
    return *std::launder(reinterpret_cast<pthread_mutex_t*>(storage));
}
} // namespace

IRecursiveLock::IRecursiveLock()
{
    pthread_mutexattr_t attributes;
    pthread_mutexattr_init(&attributes);
    pthread_mutexattr_settype(&attributes, PTHREAD_MUTEX_RECURSIVE);
    pthread_mutex_init(new (storage) pthread_mutex_t, &attributes);
    pthread_mutexattr_destroy(&attributes);
}

IRecursiveLock::~IRecursiveLock()
{
    pthread_mutex_destroy(&Mutex(storage));
}

void IRecursiveLock::Lock()
{
    pthread_mutex_lock(&Mutex(storage));
}

void IRecursiveLock::Unlock()
{
    pthread_mutex_unlock(&Mutex(storage));
}
