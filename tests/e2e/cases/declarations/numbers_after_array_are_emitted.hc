ram buf[4];

buf[0] = 7;
c ! 3;
