skip;
stop;
