#define N 3
