x = 1;
skip;
