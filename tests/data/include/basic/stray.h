before
#endif
after
