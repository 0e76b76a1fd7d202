int y;



#### Error: floating point numbers are not allowed in Handel-C ####

r[2];

skip;
