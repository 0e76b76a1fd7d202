int yskip;
ram b[5]x = 3;
