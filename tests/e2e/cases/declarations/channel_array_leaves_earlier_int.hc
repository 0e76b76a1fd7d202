int y;

chan c[4];

skip;
