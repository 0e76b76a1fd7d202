int x;

chan c;

x = 1;
c ! x;
