int a[]

##### Error: Arrays of channels are not allowed in Handel-C language ! #####

;

x = 2;
c ! 4;
