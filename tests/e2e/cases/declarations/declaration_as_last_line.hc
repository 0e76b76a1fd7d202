int x;

