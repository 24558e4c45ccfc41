// A mutex the owning thread may take again: critical sections on Windows, recursive pthread
// mutexes elsewhere; the storage is opaque so callers need no system headers.
#pragma once

class IRecursiveLock
{
  public:
    IRecursiveLock();
    ~IRecursiveLock();
    IRecursiveLock(const IRecursiveLock&) = delete;
    IRecursiveLock& operator=(const IRecursiveLock&) = delete;

    void Lock();
    void Unlock();

  private:
    alignas(16) unsigned char storage[64];
};

// Holds a lock (anything with Lock and Unlock) for the lifetime of a scope.
template <typename LockType> class ILockGuard
{
  public:
    explicit ILockGuard(LockType& l) : lock(l) { lock.Lock(); }
    ~ILockGuard() { lock.Unlock(); }
    ILockGuard(const ILockGuard&) = delete;
    ILockGuard& operator=(const ILockGuard&) = delete;

  private:
    LockType& lock;
};
