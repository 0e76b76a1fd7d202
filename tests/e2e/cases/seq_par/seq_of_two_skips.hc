skip;
skip;
