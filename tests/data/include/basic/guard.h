#ifndef GUARD_H
#define GUARD_H
int guarded;
#endif
