skip;
