x = 'c'xb;
