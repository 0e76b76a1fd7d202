skipstop;
