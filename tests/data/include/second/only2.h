int only2;
